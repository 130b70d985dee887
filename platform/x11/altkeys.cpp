// SPDX-License-Identifier: MIT
#include "platform/x11/altkeys.h"

#include <algorithm>
#include <cstdlib>

// The XKB header names a field "explicit", a keyword in C++.
#define explicit xkb_explicit
#include <xcb/xkb.h>
#undef explicit
#include <xkbcommon/xkbcommon-x11.h>

namespace platform::x11 {

namespace {

// Held with Alt, these make a chord. Lock (Caps Lock) and Mod2 (Num Lock) stay on for
// long stretches and say nothing about the press; Mod1 is Alt itself, which the server
// may count in already when the state is asked for after the press.
constexpr std::uint16_t kChordModifiers
    = XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_3 | XCB_MOD_MASK_4 | XCB_MOD_MASK_5;

bool isAltSym(xkb_keysym_t sym)
{
    return sym == XKB_KEY_Alt_L || sym == XKB_KEY_Alt_R;
}

} // namespace

std::unique_ptr<AltKeys> AltKeys::read(xcb_connection_t* connection)
{
    std::uint8_t eventBase = 0;
    if (!xkb_x11_setup_xkb_extension(connection, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
            XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, &eventBase, nullptr))
        return nullptr;
    const std::int32_t device = xkb_x11_get_core_keyboard_device_id(connection);
    if (device < 0)
        return nullptr;
    std::unique_ptr<AltKeys> keys(new AltKeys(connection, device, eventBase));
    keys->load();
    return keys;
}

AltKeys::AltKeys(xcb_connection_t* connection, std::int32_t device, std::uint8_t xkbEventBase)
    : connection_(connection)
    , device_(device)
    , xkbEventBase_(xkbEventBase)
{
}

AltKeys::~AltKeys() = default;

void AltKeys::load()
{
    for (auto& group : altInGroup_)
        group.reset();
    // The keymap comes from the server: no include paths, no environment.
    xkb_context* context = xkb_context_new(
        static_cast<xkb_context_flags>(XKB_CONTEXT_NO_DEFAULT_INCLUDES | XKB_CONTEXT_NO_ENVIRONMENT_NAMES));
    xkb_keymap* keymap = context
        ? xkb_x11_keymap_new_from_device(context, connection_, device_, XKB_KEYMAP_COMPILE_NO_FLAGS)
        : nullptr;
    xkb_state* state = keymap ? xkb_state_new(keymap) : nullptr;
    if (state) {
        for (xkb_keycode_t key = xkb_keymap_min_keycode(keymap); key <= xkb_keymap_max_keycode(keymap) && key < 256;
             ++key) {
            for (xkb_layout_index_t group = 0; group < altInGroup_.size(); ++group) {
                // The state wraps or clamps the group for keys with fewer layouts, as
                // the server does.
                xkb_state_update_mask(state, 0, 0, 0, 0, 0, group);
                const xkb_keysym_t* syms = nullptr;
                const int count
                    = xkb_keymap_key_get_syms_by_level(keymap, key, xkb_state_key_get_layout(state, key), 0, &syms);
                altInGroup_[group][key] = count == 1 && isAltSym(syms[0]);
            }
        }
    }
    xkb_state_unref(state);
    xkb_keymap_unref(keymap);
    xkb_context_unref(context);
}

bool AltKeys::inAnyLayout(std::uint8_t keycode) const
{
    return std::ranges::any_of(altInGroup_, [keycode](const auto& group) { return group[keycode]; });
}

std::vector<std::uint8_t> AltKeys::anyLayout() const
{
    std::vector<std::uint8_t> keys;
    for (unsigned key = 0; key < 256; ++key) {
        if (inAnyLayout(static_cast<std::uint8_t>(key)))
            keys.push_back(static_cast<std::uint8_t>(key));
    }
    return keys;
}

bool AltKeys::loneAlt(std::uint8_t keycode, KeyboardState state) const
{
    return isAlt(keycode, state.group) && (state.modifiers & kChordModifiers) == 0;
}

std::optional<KeyboardState> AltKeys::stateNow() const
{
    auto* reply = xcb_xkb_get_state_reply(
        connection_, xcb_xkb_get_state(connection_, static_cast<xcb_xkb_device_spec_t>(device_)), nullptr);
    if (!reply)
        return std::nullopt;
    const KeyboardState state{reply->group, reply->mods};
    std::free(reply);
    return state;
}

bool AltKeys::keymapChanged(const xcb_generic_event_t& event)
{
    if ((event.response_type & 0x7f) != xkbEventBase_)
        return false;
    // Every XKB event carries its kind in the second byte.
    const auto kind = reinterpret_cast<const xcb_xkb_map_notify_event_t&>(event).xkbType;
    if (kind != XCB_XKB_NEW_KEYBOARD_NOTIFY && kind != XCB_XKB_MAP_NOTIFY)
        return false;
    load();
    return true;
}

void AltKeys::watchKeymapChanges()
{
    constexpr std::uint16_t kEvents = XCB_XKB_EVENT_TYPE_NEW_KEYBOARD_NOTIFY | XCB_XKB_EVENT_TYPE_MAP_NOTIFY;
    constexpr std::uint16_t kMapParts = XCB_XKB_MAP_PART_KEY_TYPES | XCB_XKB_MAP_PART_KEY_SYMS
        | XCB_XKB_MAP_PART_MODIFIER_MAP | XCB_XKB_MAP_PART_KEY_ACTIONS | XCB_XKB_MAP_PART_VIRTUAL_MODS;
    xcb_xkb_select_events_details_t details{};
    details.affectNewKeyboard = XCB_XKB_NKN_DETAIL_KEYCODES;
    details.newKeyboardDetails = XCB_XKB_NKN_DETAIL_KEYCODES;
    xcb_xkb_select_events_aux(
        connection_, static_cast<xcb_xkb_device_spec_t>(device_), kEvents, 0, 0, kMapParts, kMapParts, &details);
    xcb_flush(connection_);
}

} // namespace platform::x11
