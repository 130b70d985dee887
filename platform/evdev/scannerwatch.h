// SPDX-License-Identifier: MIT
#pragma once

#include <map>
#include <set>
#include <string>

#include <QObject>

#include "platform/scannerdevices.h"

class QSocketNotifier;

namespace platform::evdev {

class ScannerDevice;

// Keeps every barcode scanner in /dev/input taken while it is there: the ones present at
// the start and each one plugged in later. The folder is watched (inotify, in the event
// loop) for nodes that appear, for changes of their access (udev grants it a moment after
// the node appears) and for nodes that go away.
class ScannerWatch final : public QObject {
    Q_OBJECT
public:
    ScannerWatch(ScannerTyping typing, QObject* parent);
    ~ScannerWatch() override;

private:
    void readChanges();
    void lookAtAll();
    // settled: the node's access is what it will stay, so a refusal is told at once.
    void consider(const std::string& node, bool settled);
    void forget(const std::string& node);

    ScannerTyping typing_;
    int inotify_ = -1;
    QSocketNotifier* changes_ = nullptr;
    // By node name (event5); each device is a child, deleted when it is forgotten.
    std::map<std::string, ScannerDevice*> devices_;
    // Nodes already reported as not readable: one line each until they go away.
    std::set<std::string> reported_;
};

} // namespace platform::evdev
