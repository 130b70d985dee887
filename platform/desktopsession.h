// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <memory>

namespace platform {

// One Tarnix for each desktop session: two copies would split the scanner's Alt and its
// lines between them and lose scans. The claim is held by the Tarnix that made it, for
// as long as it lives, and goes with the process however it ends.
class DesktopSession {
public:
    virtual ~DesktopSession() = default;

    // What to do when a later start asks this Tarnix to come forward: the Alt action.
    // Runs from the event loop.
    virtual void onComeForward(std::function<void()> comeForward) = 0;
};

// Claims the desktop session for this start. When another Tarnix holds it, that one is
// asked to come forward and null is returned: this start then ends with status 0. When
// the session cannot be told apart (no display, no private runtime folder), a claim that
// never calls is returned and the program runs as a copy of its own. Needs the
// application where the platform's toolkit has one (Qt).
std::unique_ptr<DesktopSession> claimDesktopSession();

} // namespace platform
