// SPDX-License-Identifier: MIT
#pragma once

#include <linux/input.h>

#include <deque>
#include <mutex>
#include <string>
#include <thread>

#include <QObject>

#include "platform/evdev/scannerkeys.h"

class QSocketNotifier;

namespace platform::evdev {

// One scanner taken for this program. A thread of its own waits for its key events and
// reads each at once, turning them into what it typed: the kernel keeps only 64 events
// for a reader, ten characters or so, which a window busy for a moment (painting, the
// accessibility bus, the web engine starting) would let overflow. What it typed waits in
// a short queue for the window's thread, which the signals are emitted on, in order.
// The queue is bounded: a device that floods Tarnix with lines faster than the window
// takes them loses the excess, said once on stderr, instead of growing memory.
class ScannerDevice final : public QObject {
    Q_OBJECT
public:
    // Alt taps and lines waiting for the window; more are dropped.
    static constexpr std::size_t kMostWaiting = 16;

    // fd: open without blocking, a scanner taken (inputnode.h) or anything else that
    // carries input_event records; owned from here on.
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
    struct Typed {
        ScannerKeys::Typed what; // AltTap, Line, or Nothing for the end
        std::u16string line;
    };

    void readUntilStopped();
    void handle(const input_event& event);
    // On the reader's thread: queues what was typed for the window's.
    void hand(Typed typed);
    // On the window's thread: emits what waits.
    void deliver();

    int fd_;
    int stop_; // an eventfd that wakes the thread to end
    int wake_; // an eventfd that wakes the window's thread to deliver
    QSocketNotifier* woken_ = nullptr;
    ScannerKeys keys_;             // the reader's alone, as is the flag
    bool resynchronising_ = false; // events are lost: the rest of the report is dropped
    std::mutex mutex_;             // guards the two below
    std::deque<Typed> waiting_;
    bool floodTold_ = false;
    std::thread reader_;
};

} // namespace platform::evdev
