// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>

#include <xcb/xcb.h>

namespace platform::x11 {

// A key pressed or released on a keyboard device, as XInput reports it raw.
struct RawKey {
    bool press = false;
    std::uint8_t keycode = 0;
    std::uint32_t time = 0;
    std::uint16_t device = 0; // the device it came from (XInput's device id)
};

// Raw key events of each keyboard device (the scanner, the person's keyboard) on the
// root window. They arrive even while the core keyboard is frozen by a grab, so the key
// after an Alt press can be seen before anything is let through: the release of the Alt
// (a tap) or another key (a chord). Raw events of the core keyboard itself come only
// after the freeze and are left out.
class DeviceRawKeys {
public:
    // Selects them on the connection, beside whatever the connection selected on the root
    // for all devices already (Qt's own device events). Nothing without XInput 2.1.
    static std::optional<DeviceRawKeys> select(xcb_connection_t* connection);

    // Takes the selection back.
    void deselect();

    // The raw key an event of the connection carries, if it is one of a device's.
    std::optional<RawKey> of(const xcb_generic_event_t& event) const;

private:
    DeviceRawKeys(xcb_connection_t* connection, std::uint8_t opcode)
        : connection_(connection)
        , opcode_(opcode)
    {
    }

    xcb_connection_t* connection_;
    std::uint8_t opcode_;
};

} // namespace platform::x11
