// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace platform::x11 {

// What Tarnix tells its Alt guard (X11AltGuardClient to AltGuard) for each Alt press it has
// read: the press's server time, and the window to give the keyboard to before the keys
// held since the press go on, or zero when Tarnix has the keyboard already.
struct AltPressRead {
    std::uint32_t time = 0;
    std::uint32_t focusWindow = 0;
};

// The guard's file name, in the program's folder in a build and its private folder once
// installed.
inline constexpr char kAltGuardProgram[] = "tarnix-altguard";

// The guard's end of the socket, as it finds it.
inline constexpr int kAltGuardSocket = 3;

} // namespace platform::x11
