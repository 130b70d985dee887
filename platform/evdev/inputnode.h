// SPDX-License-Identifier: MIT
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

#include "platform/evdev/scannerfilter.h"

namespace platform::evdev {

// A barcode scanner's event node in /dev/input, as sysfs describes it.
struct InputNode {
    std::string path; // /dev/input/eventN
    std::string name; // the device's own name
    dev_t number = 0; // the node's device number
};

// The barcode scanner behind the node named node (eventN) of /dev/input, or nothing for
// any other device and for one that is gone (scannerfilter.h). Decided from what sysfs
// (sysClassInput: /sys/class/input, or a tree laid out as it is) says: nothing is opened.
std::optional<InputNode> findScanner(const std::string& node, const std::string& devDir = "/dev/input",
    const std::string& sysClassInput = "/sys/class/input");

// Opens the scanner for reading without blocking and takes it for this program alone
// (EVIOCGRAB), so its keys reach no other reader: not the X server, not the compositor.
// The open descriptor itself must say it is that scanner (its device number, its name and
// keys), since a node can be another device by now. It is taken only while none of its
// keys is down, so that no key taken mid-press stays down in the desktop. Returns the
// descriptor, or -1 with errno set: EACCES without access, EBUSY when another program
// holds the device, EAGAIN while a key is down, ENODEV when the node is another device.
int openAndTake(const InputNode& scanner);

// The keys held down on the open device now (EVIOCGKEY); nothing when it cannot say.
std::optional<KeyBits> keysDown(int fd);

// 0 when this process may open the node now, else why not (EACCES, ENOENT): one it holds
// open is kept by the kernel even after the seat's access to it has gone to someone else.
int accessError(const InputNode& scanner);

} // namespace platform::evdev
