// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include <xcb/xcb.h>

namespace platform::x11 {

// The keyboard state that decides what a key press means: the active layout (XKB group)
// and the modifiers held.
struct KeyboardState {
    unsigned group = 0;
    std::uint16_t modifiers = 0; // X11 modifier bits
};

// Which keys are Alt, by the keymap the X server has now and the layout active at the
// moment of a press. A key that is Alt in one layout can be another key in the next: the
// right Alt of a US layout is AltGr in a German one, so only a press in a layout where
// it is Alt counts. Follows keymap changes (another layout set, another keyboard).
class AltKeys {
public:
    // Reads the core keyboard's keymap over the connection; nothing without XKB.
    static std::unique_ptr<AltKeys> read(xcb_connection_t* connection);
    ~AltKeys();

    AltKeys(const AltKeys&) = delete;
    AltKeys& operator=(const AltKeys&) = delete;

    // The keys that are Alt in some layout: the ones a press of may have to be looked at.
    std::vector<std::uint8_t> anyLayout() const;
    bool inAnyLayout(std::uint8_t keycode) const;

    // Whether the key is Alt in the given layout.
    bool isAlt(std::uint8_t keycode, unsigned group) const { return altInGroup_[group & 3u][keycode]; }

    // Whether a press of the key, made in the given state, is a press of Alt alone:
    // the key is Alt in the active layout, and no other modifier is held with it (Caps
    // Lock and Num Lock aside). Ctrl+Alt, Shift+Alt and the like are chords.
    bool loneAlt(std::uint8_t keycode, KeyboardState state) const;

    // The state now: one round trip.
    std::optional<KeyboardState> stateNow() const;

    // An event of the connection; true when it told of a new keymap, which is read now.
    bool keymapChanged(const xcb_generic_event_t& event);

    // Asks for the events that tell of keymap changes, on a connection of one's own (Qt
    // asks for them on its connection itself).
    void watchKeymapChanges();

    // The layout (XKB group) of a core key event's state field.
    static unsigned groupOf(std::uint16_t coreState) { return (coreState >> 13) & 3u; }

private:
    AltKeys(xcb_connection_t* connection, std::int32_t device, std::uint8_t xkbEventBase);
    void load();

    xcb_connection_t* connection_;
    std::int32_t device_;
    std::uint8_t xkbEventBase_;
    std::array<std::bitset<256>, 4> altInGroup_; // by active group, wrapped per key
};

} // namespace platform::x11
