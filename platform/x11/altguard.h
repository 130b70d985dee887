// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>

#include <xcb/xcb.h>

#include "platform/alttaprule.h"
#include "platform/altbounds.h"
#include "platform/x11/altguardprotocol.h"
#include "platform/x11/altkeys.h"
#include "platform/x11/rawkeys.h"

namespace platform::x11 {

// The Alt guard: a small process of its own, in a session of its own, that holds the
// passive grab on the Alt keys which freezes the keyboard the moment Alt goes down, so
// that a scanner's keys after its Alt wait until Tarnix has read the press. Tarnix
// answers each press over a socket (AltPressRead); the guard then gives the keyboard to
// the window Tarnix names and lets the held keys go on, in their order, Alt first.
//
// The person's keys are never Tarnix's: AltGr, a press of Alt with another modifier
// held, and a chord (another key pressed while Alt is down, as the devices report it
// during the freeze) go on at once to where they were going, without Tarnix's word.
// Only a lone tap, Alt released before any other key, waits for Tarnix.
//
// Nothing Tarnix does or suffers can keep the keyboard frozen longer than 200 ms: not a
// busy main thread, not being stopped (Ctrl+Z, SIGSTOP, a debugger, a frozen control
// group), since the guard is not stopped with it; without an answer within
// kLongestFreeze the keys go on to where they were going anyway. The bound leaves the
// guard time to be woken on a busy machine. After a tap Tarnix left unanswered the
// guard lets go of Alt altogether, until Tarnix answers again, so a stopped Tarnix
// delays no further Alt. The guard ends when Tarnix closes the socket or dies, and the X
// server drops its grabs with its connection.
class AltGuard {
public:
    static constexpr std::chrono::milliseconds kLongestFreeze = altbounds::kGuardFreeze;

    // connection: the guard's own; answers: its end of the socket to Tarnix. Without XKB
    // or XInput 2.1 on the server it grabs nothing.
    AltGuard(xcb_connection_t* connection, int answers);

    // Until Tarnix is gone or the X connection breaks.
    void run();

private:
    using Clock = std::chrono::steady_clock;

    void grabAlt(bool grab);
    void handleEvent(const xcb_generic_event_t& event);
    void rawKey(const RawKey& key);
    void altPressed(const xcb_key_press_event_t& press);
    bool readAnswers(); // false once Tarnix is gone
    void answered(const AltPressRead& answer);
    void tryToLetGo();
    void giveFocus(std::uint32_t window, std::uint32_t time);
    void letGo();
    int pollTimeout() const;
    bool viewable(std::uint32_t window);

    xcb_connection_t* connection_;
    int answers_;
    std::uint32_t root_;
    std::uint32_t userTimeAtom_;
    std::uint32_t userTimeWindowAtom_;
    std::unique_ptr<AltKeys> altKeys_;
    std::optional<DeviceRawKeys> rawKeys_;
    std::vector<std::uint8_t> grabbed_;
    bool altGrabbed_ = false;

    // The press the keyboard is frozen on, while it is.
    struct Freeze {
        std::uint32_t time = 0;
        std::uint8_t keycode = 0;
        Clock::time_point deadline;
        bool tapped = false;                      // released before any other key
        std::optional<std::uint32_t> focusWindow; // set once Tarnix has answered
    };
    std::optional<Freeze> frozen_;
    AltTapRule tap_;
    std::optional<RawKey> lastAltPress_; // a device's Alt press, until the grab brings it
    std::optional<AltPressRead> early_;  // an answer that came before its press
};

} // namespace platform::x11
