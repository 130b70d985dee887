// SPDX-License-Identifier: MIT
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

namespace platform::evdev {

// A barcode scanner's event node in /dev/input, as sysfs describes it.
struct InputNode {
    std::string path; // /dev/input/eventN
    std::string name; // the device's own name
    dev_t number = 0; // the node's device number
};

// The barcode scanner behind /dev/input/<node> (scannerfilter.h), or nothing for any
// other device and for one that is gone. Decided from sysfs alone: nothing is opened.
std::optional<InputNode> findScanner(const std::string& node);

// Opens the scanner for reading without blocking and takes it for this program alone
// (EVIOCGRAB), so its keys reach no other reader: not the X server, not the compositor.
// Returns the descriptor, or -1 with errno set: EACCES without access, EBUSY when
// another program holds the device, ENODEV when the node has become another device.
int openAndTake(const InputNode& scanner);

} // namespace platform::evdev
