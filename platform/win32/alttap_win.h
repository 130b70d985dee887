// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace platform::win32 {

// Tells a scanner's Alt from a person's: a scanner opens its line with a lone Alt tap,
// an Alt pressed while no other key is held and released before any other key goes
// down. A person's Alt+F4, Alt+Tab, Alt+letter, and AltGr (which Windows sends as
// Ctrl+Alt) are chords. Fed the keyboard's events in the order the keys were pressed.
class AltTap {
public:
    enum class Outcome {
        None,
        Pressed, // an Alt went down (not a repeat of a held one)
        Tapped,  // a lone Alt tap ended with this release
    };

    // key: the key's code; alt: it is a left or right Alt; othersHeld (read when an Alt
    // goes down): another key is down; timeMs: the event's time stamp in milliseconds.
    Outcome onKey(unsigned key, bool alt, bool down, bool othersHeld, std::uint32_t timeMs);

    bool altHeld() const { return altKey_ != 0; }

    // The Alt held is up by the system's state, its release never fed here: the next Alt
    // is a new press, and no tap is under way.
    void releaseMissed() { altKey_ = 0; }

private:
    unsigned altKey_ = 0; // the Alt key that is down, 0 when none is
    bool lone_ = false;   // no other key held or pressed since it went down
    std::uint32_t lastAltDownMs_ = 0;
};

} // namespace platform::win32
