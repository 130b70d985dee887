// SPDX-License-Identifier: MIT
#pragma once

#include <bitset>
#include <memory>

#include <QAbstractNativeEventFilter>

#include "platform/keystate.h"
#include "platform/x11/altgrab.h"
#include "platform/x11/keyhold.h"

struct _XDisplay; // Xlib's Display, kept out of this header with the rest of Xlib

namespace platform {

// The key state of the whole X11 desktop, seen while any application has the focus.
// XInput2 raw key events from the root window arrive on Qt's own X connection, in the
// one stream with the key events for Tarnix's windows, and are read there before Qt
// handles anything: a press of Alt latches until the next query, and presses and
// releases keep a "down now" state that the server's key map confirms while it says
// down. Being Qt's connection, its events wake a waiting event loop by themselves.
//
// Read in that stream, the press is in its place among the keys: the keys after it
// wait (X11KeyHold) until the program has acted on it, and the keys typed in another
// program right after it go to Tarnix (X11AltGrab and its guard).
class X11KeyState final : public KeyState, private QAbstractNativeEventFilter {
public:
    // Nothing unless Qt shows its windows on an X server with XInput 2.1 or later. The
    // Alt guard's program is looked for in guardDirs.
    static std::unique_ptr<X11KeyState> open(const QStringList& guardDirs);
    ~X11KeyState() override;

    X11KeyState(const X11KeyState&) = delete;
    X11KeyState& operator=(const X11KeyState&) = delete;

    std::int16_t query(int virtualKey) override;
    bool wakesEventLoop() const override { return true; }

private:
    X11KeyState(_XDisplay* display, int xinputOpcode, std::bitset<256> altKeycodes, std::uint32_t marker,
        const QStringList& guardDirs);

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
    void rawKeyEvent(bool press, unsigned keycode, std::uint32_t time);
    bool altDownNow();

    _XDisplay* display_;
    int xinputOpcode_;
    std::bitset<256> altKeycodes_;
    bool altDown_ = false; // from the raw events, confirmed by the key map
    bool altPressedSinceQuery_ = false;
    X11KeyHold hold_;
    X11AltGrab grab_;
};

} // namespace platform
