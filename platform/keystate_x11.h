#pragma once

#include <memory>
#include <vector>

#include <QSocketNotifier>

#include "keystate.h"

struct _XDisplay; // Xlib's Display, kept out of this header with the rest of Xlib

namespace platform {

// The key state of the whole X11 desktop, seen while any application has the focus.
// A connection of its own to the X server receives XInput2 raw key events from the
// root window: a press of Alt latches until the next query, and presses and releases
// keep a "down now" state that the server's key map confirms while it says down. A
// socket notifier on the connection wakes the event loop as soon as a key event
// arrives, so a waiting loop reacts at once.
class X11KeyState final : public KeyState {
public:
    // Connects to the X server the application shows its windows on. Nothing when the
    // server cannot be reached or has no XInput 2.
    static std::unique_ptr<X11KeyState> open();
    ~X11KeyState() override;

    X11KeyState(const X11KeyState&) = delete;
    X11KeyState& operator=(const X11KeyState&) = delete;

    std::int16_t query(int virtualKey) override;
    bool wakesEventLoop() const override { return true; }

private:
    X11KeyState(_XDisplay* display, int xinputOpcode);

    // Reads every event the connection holds, latching Alt presses.
    void drainEvents();
    bool isAltKeycode(unsigned keycode) const;
    bool altDownNow();

    _XDisplay* display_;
    int xinputOpcode_;
    bool altDown_ = false; // from the raw events, confirmed by the key map
    bool altPressedSinceQuery_ = false;
    QSocketNotifier notifier_;
};

} // namespace platform
