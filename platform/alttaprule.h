// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>

namespace platform {

// Tells a scanner's Alt from a person's, for every backend: a scanner opens its line with
// a lone tap, an Alt pressed while no other key is held and released before any other key
// goes down. A person's Alt+F4, Alt+Tab, Alt+letter, Ctrl+Alt, both Alt keys at once and
// AltGr (which is no Alt: the backend says so by its layout) are chords. Each backend
// feeds its own key codes in the order the keys came, with the device they came from
// where it knows it: a key of another device, say the person's own keyboard, decides
// nothing about a scanner's Alt.
class AltTapRule {
public:
    enum class Event {
        None,
        LonePress,  // an Alt went down alone: a tap or a chord, as the next key decides
        ChordPress, // an Alt went down with another key held (Ctrl, Shift, ...): a chord
        Tap,        // the lone press ended with its release
        Chord,      // another key went down during the lone press
    };

    struct Key {
        unsigned code = 0;        // the backend's own key code
        bool down = false;        // a press, or the repeat of a held key
        bool alt = false;         // Alt in the layout in use (AltGr is not)
        bool othersHeld = false;  // read at an Alt press: another key (Ctrl, Shift, ...) down
        unsigned device = 0;      // the device it came from; 0 when not known
        std::uint32_t timeMs = 0; // the event's time stamp
    };

    Event key(const Key& key);

    // The keys are no longer known: whatever was down is forgotten.
    void reset() { alt_.reset(); }

    bool altHeld() const { return alt_.has_value(); }

private:
    struct HeldAlt {
        unsigned code;
        unsigned device;
        bool lone;
        std::uint32_t lastDownMs;
    };
    std::optional<HeldAlt> alt_;
};

} // namespace platform
