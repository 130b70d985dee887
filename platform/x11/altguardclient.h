// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>

#include <QStringList>

#include <sys/types.h>

class QSocketNotifier;

namespace platform {

// Sends the keys typed right after a scanner's Alt tap in another program to Tarnix.
//
// A scanner types its Alt and the line at once; the window manager moves the focus to
// Tarnix only some milliseconds after Tarnix asks, and until then the keys would go to
// the program that had the focus. So the Alt guard (tarnix-altguard, a process of its
// own that Tarnix being stopped or stuck cannot stop) freezes the keyboard the moment
// Alt goes down. Tarnix reads the press and what follows it in its event stream and
// tells the guard where the keys go: to the main window after a tap in another program,
// on to where they were going for anything else. Without word within the guard's bound
// (150 ms) the keys go on by themselves to where they were going.
class X11AltGuardClient {
public:
    // Starts the guard on the display, looked for in guardDirs in order. Without it
    // Tarnix runs on, and keys typed in another program in the moment after a tap may
    // reach that program.
    X11AltGuardClient(const char* displayName, const QStringList& guardDirs);
    // Ends the guard; the X server drops its grabs.
    ~X11AltGuardClient();

    X11AltGuardClient(const X11AltGuardClient&) = delete;
    X11AltGuardClient& operator=(const X11AltGuardClient&) = delete;

    // For the Alt press at the given server time: the window to give the keyboard to
    // before the keys after it go on, or zero to let them go where they were going.
    void tell(std::uint32_t time, std::uint32_t focusWindow);

private:
    void endGuard();

    int guard_ = -1; // the socket to the guard
    pid_t guardPid_ = -1;
    std::unique_ptr<QSocketNotifier> guardEnded_;
};

} // namespace platform
