// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include <xcb/xcb.h>

struct _XDisplay;

namespace platform {

// Sends the keys typed right after an Alt press in another program to Tarnix.
//
// A scanner types its Alt and the line at once; the window manager moves the focus to
// Tarnix only some milliseconds after Tarnix asks, and until then the keys would go to
// the program that had the focus. So Tarnix holds a passive grab on the Alt keys that
// freezes the keyboard the moment Alt goes down: the server keeps every later key
// until Tarnix has read the press. When Tarnix has the focus already the grab is
// dropped at once; when another program has it, the grab is turned into an active one
// (which Alt's release does not end) and kept until Tarnix's window gets the focus,
// never longer than a short bound: held longer, Alt belongs to the other program and
// the window manager again (Alt+Tab, Alt+F4, menus).
//
// A thread with an X connection of its own sees the Alt presses too and ends any
// freeze or grab that is overdue, so a busy or stuck main thread cannot lock the
// keyboard for longer than the bound.
class X11AltGrab {
public:
    static constexpr std::chrono::milliseconds kLongestGrab{200};

    // altKeycodes: the keycodes of Alt_L and Alt_R.
    X11AltGrab(_XDisplay* qtDisplay, xcb_connection_t* connection, const std::vector<std::uint8_t>& altKeycodes);
    ~X11AltGrab();

    X11AltGrab(const X11AltGrab&) = delete;
    X11AltGrab& operator=(const X11AltGrab&) = delete;

    // An Alt press at the given server time, read from Qt's event stream.
    void altPressed(std::uint32_t time);

    // Sees every event on Qt's connection before Qt does: keys the grab reported on
    // the root window are given to one of Tarnix's windows, and the grab ends when one
    // of them gets the focus.
    void see(xcb_generic_event_t* event);

private:
    bool grabbed() const;
    void release();
    void watch(std::stop_token stop, _XDisplay* own);
    void wake();

    xcb_connection_t* connection_;
    std::uint32_t root_;
    std::vector<std::uint8_t> altKeycodes_;
    std::vector<std::uint8_t> passiveGrabs_;
    int wakeFd_ = -1;

    mutable std::mutex mutex_; // guards what follows, shared with the watching thread
    bool grabbed_ = false;
    std::uint32_t lastHandledPress_ = 0; // server time of the last press the main thread read
    bool armed_ = false;
    std::chrono::steady_clock::time_point deadline_;
    std::jthread watcher_; // last: starts when the rest is ready
};

} // namespace platform
