// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>

#include <QTimer>

#include <xcb/xcb.h>

#include "platform/altbounds.h"

namespace platform {

// Keeps an Alt press and the keys after it in the order the X server sent them.
//
// The program empties its input box when it learns of an Alt press, one pass of its
// loop after the press arrived; by then Qt may have delivered keys typed after the
// press, and emptying would remove them. So from an Alt press on, the key events Qt's
// connection brings are held back here until the program has acted on the press; then
// copies go back to the windows they were for, through the server, and Qt handles them
// in their order. A later press among held keys waits its turn: it is reported only
// once the keys before it have been handed back.
class X11KeyHold {
public:
    // Held keys are handed back after this at the latest, even when no one asked for
    // the press (a modal dialog runs its own loop, say).
    static constexpr std::chrono::milliseconds kLongestHold = altbounds::kLongestOwnHold;

    // pressReached runs when a press that waited behind held keys is due. marker is an
    // atom of the connection, used to mark the end of the copies sent back.
    X11KeyHold(xcb_connection_t* connection, std::uint32_t marker, std::function<void()> pressReached);

    // An Alt press in the event stream. True when it is due at once; false when it
    // waits behind held keys (pressReached follows).
    bool altPressed();

    // The program has acted on the press that is due: hands back the keys up to the
    // next press. Keys come back through the server, so they reach Qt no sooner than
    // its next round of events.
    void release();

    // A key event or a client message from Qt's connection. True when it is kept
    // here, and Qt must not handle it.
    bool take(xcb_generic_event_t* event);

private:
    enum class Phase {
        Idle,        // keys pass
        Holding,     // a press is due and not yet acted on: keys wait
        HandingBack, // copies are on their way back: new keys queue behind them
    };
    using RawEvent = std::array<std::uint8_t, 32>;
    struct Held {
        RawEvent event{};
        bool altPress = false; // a press among the keys, not a key
    };

    void sendBackUpToNextPress();
    void copiesArrived();

    xcb_connection_t* connection_;
    std::uint32_t marker_;
    std::function<void()> pressReached_;
    Phase phase_ = Phase::Idle;
    std::deque<Held> held_;
    QTimer longestHold_;
};

} // namespace platform
