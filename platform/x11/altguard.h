// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

#include <xcb/xcb.h>

#include "platform/x11/altguardprotocol.h"

namespace platform::x11 {

// The Alt guard: a small process of its own, in a session of its own, that holds the
// passive grab on the Alt keys which freezes the keyboard the moment Alt goes down, so
// that a scanner's keys after its Alt wait until Tarnix has read the press. Tarnix
// answers each press over a socket (AltPressRead); the guard then gives the keyboard to
// the window Tarnix names and lets the held keys go on, in their order, Alt first.
//
// Nothing Tarnix does or suffers can keep the keyboard frozen longer than kLongestFreeze:
// not a busy main thread, not being stopped (Ctrl+Z, SIGSTOP, a debugger, a frozen
// control group), since the guard is not stopped with it; without an answer in time the
// keys go on to where they were going anyway. After a press Tarnix left unanswered the
// guard lets go of Alt altogether, until Tarnix answers again, so a stopped Tarnix
// delays no further Alt. The guard ends when Tarnix closes the socket or dies, and the X
// server drops its grabs with its connection.
class AltGuard {
public:
    static constexpr std::chrono::milliseconds kLongestFreeze{200};

    // connection: the guard's own; answers: its end of the socket to Tarnix.
    AltGuard(xcb_connection_t* connection, int answers, std::vector<std::uint8_t> altKeycodes);

    // Until Tarnix is gone or the X connection breaks.
    void run();

private:
    using Clock = std::chrono::steady_clock;

    void grabAlt(bool grab);
    void handleEvent(const xcb_generic_event_t& event);
    bool readAnswers(); // false once Tarnix is gone
    void answered(const AltPressRead& answer);
    void tryToLetGo();
    void letGo();
    int pollTimeout() const;
    bool viewable(std::uint32_t window);

    xcb_connection_t* connection_;
    int answers_;
    std::vector<std::uint8_t> altKeycodes_;
    std::uint32_t root_;
    bool altGrabbed_ = false;

    // The press the keyboard is frozen on, while it is.
    struct Freeze {
        std::uint32_t time = 0;
        Clock::time_point deadline;
        std::optional<std::uint32_t> focusWindow; // set once Tarnix has answered
    };
    std::optional<Freeze> frozen_;
    std::optional<AltPressRead> early_; // an answer that came before its press
};

} // namespace platform::x11
