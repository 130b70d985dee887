// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "platform/x11/rawkeys.h"

namespace platform::x11 {

// Tells a scanner's Alt from a person's. A scanner opens its line with a lone tap: the
// Alt key pressed and released before any other key. A person holds Alt for a chord
// (Alt+F4, Alt+Tab, Alt+F): another key goes down while Alt is still down. So after a
// lone Alt press, the next key a device reports decides.
class AltTap {
public:
    enum class Outcome { Undecided, Tap, Chord };

    // A lone press of Alt, at its server time.
    void start(std::uint8_t keycode, std::uint32_t time)
    {
        watching_ = true;
        keycode_ = keycode;
        time_ = time;
    }
    void stop() { watching_ = false; }
    std::uint32_t time() const { return time_; }

    // The next raw key of a device. The releases of keys let go after the press, and the
    // press's own repeats, decide nothing.
    Outcome next(const RawKey& key)
    {
        if (!watching_ || (key.keycode == keycode_) == key.press)
            return Outcome::Undecided;
        watching_ = false;
        return key.press ? Outcome::Chord : Outcome::Tap;
    }

private:
    bool watching_ = false;
    std::uint8_t keycode_ = 0;
    std::uint32_t time_ = 0;
};

} // namespace platform::x11
