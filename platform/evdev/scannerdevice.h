// SPDX-License-Identifier: MIT
#pragma once

#include <thread>

#include <QObject>

#include "platform/evdev/scannerkeys.h"

namespace platform::evdev {

// One scanner taken for this program. A thread of its own waits for its key events and
// reads each at once, turning them into what it typed: the kernel keeps only 64 events
// for a reader, ten characters or so, which a window busy for a moment (painting, the
// accessibility bus, the web engine starting) would let overflow. The signals are
// emitted from that thread; connected to objects of the window's thread they arrive
// there in order.
class ScannerDevice final : public QObject {
    Q_OBJECT
public:
    // fd: open without blocking and taken (inputnode.h); owned from here on.
    ScannerDevice(int fd, QObject* parent);
    // Ends the thread and lets the device go: the grab goes with the descriptor.
    ~ScannerDevice() override;

    // Starts reading, once the signals are connected.
    void start();

signals:
    void altTapped();
    void lineTyped(const QString& line);
    // Unplugged, or reading failed: the thread has ended. Whatever it typed of an
    // unfinished line is dropped with it.
    void failed();

private:
    void readUntilStopped();

    int fd_;
    int stop_;         // an eventfd that wakes the thread to end
    ScannerKeys keys_; // the thread's alone
    std::thread reader_;
};

} // namespace platform::evdev
