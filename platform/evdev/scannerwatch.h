// SPDX-License-Identifier: MIT
#pragma once

#include <map>
#include <set>
#include <string>

#include <QObject>
#include <QTimer>

#include "platform/evdev/inputnode.h"
#include "platform/scannerdevices.h"

class QSocketNotifier;

namespace platform::evdev {

class ScannerDevice;

// Keeps every barcode scanner in /dev/input taken while it is there and this user may
// read it: the ones present at the start and each one plugged in later. The folder is
// watched (inotify, in the event loop) for nodes that appear, for changes of their access
// (udev grants it a moment after the node appears; logind moves it to the user in front
// at a user switch) and for nodes that go away. A scanner whose access goes is let go at
// once, so that the next user's scans never reach this one; one that another program
// holds is tried again every few seconds until it is free.
class ScannerWatch final : public QObject {
    Q_OBJECT
public:
    ScannerWatch(ScannerTyping typing, QObject* parent);
    ~ScannerWatch() override;

private:
    struct Taken {
        ScannerDevice* device; // a child, deleted when it is forgotten
        InputNode node;
    };

    void readChanges();
    void lookAtAll();
    // settled: the node's access is what it will stay, so a refusal is told at once.
    void consider(const std::string& node, bool settled);
    void take(const std::string& node, const InputNode& scanner, int fd);
    void forget(const std::string& node);
    void retryWaiting();

    ScannerTyping typing_;
    int inotify_ = -1;
    QSocketNotifier* changes_ = nullptr;
    std::map<std::string, Taken> devices_; // by node name (event5)
    // Nodes told of on stderr as not read, with the errno told: a line for each new
    // reason, and one when they are read after all.
    std::map<std::string, int> reported_;
    // Scanners another program holds, tried again while retry_ runs.
    std::set<std::string> waiting_;
    QTimer retry_;
};

} // namespace platform::evdev
