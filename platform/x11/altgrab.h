// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include <QStringList>

#include <sys/types.h>
#include <xcb/xcb.h>

class QSocketNotifier;
struct _XDisplay;

namespace platform {

// Sends the keys typed right after an Alt press in another program to Tarnix.
//
// A scanner types its Alt and the line at once; the window manager moves the focus to
// Tarnix only some milliseconds after Tarnix asks, and until then the keys would go to
// the program that had the focus. So the Alt guard (tarnix-altguard, a process of its
// own that Tarnix being stopped or stuck cannot stop) freezes the keyboard the moment
// Alt goes down. Tarnix reads the press in its event stream and answers the guard: when
// another program has the keyboard, the main window takes it before the keys after the
// press go on; when Tarnix has it, the keys just go on. Without an answer within the
// guard's bound (200 ms) the keys go on by themselves to where they were going.
class X11AltGrab {
public:
    // Starts the guard, looked for in guardDirs in order. Without it Tarnix runs on, and
    // keys typed in another program in the moment after Alt may reach that program.
    X11AltGrab(_XDisplay* qtDisplay, xcb_connection_t* connection, const std::vector<std::uint8_t>& altKeycodes,
        const QStringList& guardDirs);
    // Ends the guard; the X server drops its grabs.
    ~X11AltGrab();

    X11AltGrab(const X11AltGrab&) = delete;
    X11AltGrab& operator=(const X11AltGrab&) = delete;

    // An Alt press at the given server time, read from Qt's event stream.
    void altPressed(std::uint32_t time);

    bool guarded() const { return guard_ >= 0; }

private:
    void endGuard();

    xcb_connection_t* connection_;
    int guard_ = -1; // the socket to the guard
    pid_t guardPid_ = -1;
    std::unique_ptr<QSocketNotifier> guardEnded_;
};

} // namespace platform
