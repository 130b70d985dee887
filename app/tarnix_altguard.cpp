// SPDX-License-Identifier: MIT
// Tarnix's Alt guard, started by Tarnix on X11 and never by a user:
//
//   tarnix-altguard DISPLAY TARNIX-PID
//
// with its end of a socket to Tarnix as file descriptor 3. It holds the grab that
// freezes the keyboard at each Alt press until Tarnix has read the press, in a process
// Tarnix being stopped does not stop.
#include <cstdlib>

#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include "platform/x11/altguard.h"

int main(int argc, char* argv[])
{
    if (argc < 3)
        return 2;
    // Ends when Tarnix ends, however it ends; checked after asking, in case it ended
    // before.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != static_cast<pid_t>(std::atol(argv[2])))
        return 0;
    // Its own session: job control stops Tarnix's process group (Ctrl+Z), not this.
    setsid();
    close_range(platform::x11::kAltGuardSocket + 1, ~0U, 0);

    xcb_connection_t* connection = xcb_connect(argv[1], nullptr);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return 1;
    }
    platform::x11::AltGuard(connection, platform::x11::kAltGuardSocket).run();
    xcb_disconnect(connection);
    return 0;
}
