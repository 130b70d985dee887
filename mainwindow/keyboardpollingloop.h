// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <functional>

namespace platform {
class KeyState;
}

// The program's event loop: each pass asks the key state for Alt and, when it is not
// zero, runs the Alt action (show the main window, focus and empty the input box);
// then it has the toolkit deliver the pending window events. Rather than spin, a pass
// lets the toolkit wait for the next event. A key state that can only be polled is
// asked again after at most 10 ms; one that wakes the loop on key events itself is
// asked at once then, and otherwise only every quarter second as a safety net — except
// while Alt is held, when the short bound holds again, so that nothing typed stays in
// the box while Alt is down. Presses between passes are latched by the key state, so
// none is missed.
class KeyboardPollingLoop {
public:
    // Delivers every pending event, waiting for one at most the given time when none is.
    using Pump = std::function<void(std::chrono::milliseconds longestWait)>;

    static constexpr std::chrono::milliseconds kLongestWait{10};
    static constexpr std::chrono::milliseconds kLongestWaitWhenWoken{250};

    // keys must outlive the loop.
    KeyboardPollingLoop(platform::KeyState& keys, std::function<void()> onAltPressed, Pump pump);

    // One pass: query Alt, maybe run the Alt action, deliver pending events.
    void runPass();

    // Passes for ever; the program ends only from inside a handler.
    [[noreturn]] void runForever();

    // How long the next pass waits at most for an event.
    std::chrono::milliseconds longestWait() const { return longestWait_; }

private:
    platform::KeyState& keys_;
    std::function<void()> onAltPressed_;
    Pump pump_;
    std::chrono::milliseconds longestWait_;
};
