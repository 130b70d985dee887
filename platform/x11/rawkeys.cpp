// SPDX-License-Identifier: MIT
#include "platform/x11/rawkeys.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include <xcb/xinput.h>

#include "platform/x11/xcbcalls.h"

namespace platform::x11 {

namespace {

constexpr std::uint32_t kRawKeyBits = XCB_INPUT_XI_EVENT_MASK_RAW_KEY_PRESS | XCB_INPUT_XI_EVENT_MASK_RAW_KEY_RELEASE;

// What the connection selects on the root for all devices now: its first mask word.
std::uint32_t selectedForAllDevices(xcb_connection_t* connection)
{
    auto* reply = xcb_input_xi_get_selected_events_reply(
        connection, xcb_input_xi_get_selected_events(connection, rootOf(connection)), nullptr);
    std::uint32_t bits = 0;
    if (reply) {
        for (auto masks = xcb_input_xi_get_selected_events_masks_iterator(reply); masks.rem;
             xcb_input_event_mask_next(&masks)) {
            if (masks.data->deviceid == XCB_INPUT_DEVICE_ALL && masks.data->mask_len > 0)
                bits = xcb_input_event_mask_mask(masks.data)[0];
        }
    }
    std::free(reply);
    return bits;
}

void selectForAllDevices(xcb_connection_t* connection, std::uint32_t bits)
{
    struct {
        xcb_input_event_mask_t head;
        std::uint32_t bits;
    } mask{{XCB_INPUT_DEVICE_ALL, 1}, bits};
    xcb_input_xi_select_events(connection, rootOf(connection), 1, &mask.head);
    xcb_flush(connection);
}

} // namespace

std::optional<DeviceRawKeys> DeviceRawKeys::select(xcb_connection_t* connection)
{
    const xcb_query_extension_reply_t* xinput = xcb_get_extension_data(connection, &xcb_input_id);
    if (!xinput || !xinput->present)
        return std::nullopt;
    // Raw events reach the root whatever the grabs from 2.1 on. Asking for the version
    // Qt asks for on its connection leaves its events as they are.
    auto* version = xcb_input_xi_query_version_reply(connection, xcb_input_xi_query_version(connection, 2, 2), nullptr);
    const bool enough = version && (version->major_version > 2 || version->minor_version >= 1);
    std::free(version);
    if (!enough)
        return std::nullopt;
    selectForAllDevices(connection, selectedForAllDevices(connection) | kRawKeyBits);
    return DeviceRawKeys(connection, xinput->major_opcode);
}

void DeviceRawKeys::deselect()
{
    selectForAllDevices(connection_, selectedForAllDevices(connection_) & ~kRawKeyBits);
}

std::optional<RawKey> DeviceRawKeys::of(const xcb_generic_event_t& event) const
{
    if ((event.response_type & 0x7f) != XCB_GE_GENERIC)
        return std::nullopt;
    xcb_input_raw_key_press_event_t raw;
    std::memcpy(&raw, &event, sizeof(xcb_generic_event_t)); // the fields read here
    if (raw.extension != opcode_
        || (raw.event_type != XCB_INPUT_RAW_KEY_PRESS && raw.event_type != XCB_INPUT_RAW_KEY_RELEASE))
        return std::nullopt;
    // A device's own event names it twice; the core keyboard's copy names that first.
    if (raw.deviceid != raw.sourceid || raw.detail > 255)
        return std::nullopt;
    return RawKey{
        raw.event_type == XCB_INPUT_RAW_KEY_PRESS, static_cast<std::uint8_t>(raw.detail), raw.time, raw.sourceid};
}

} // namespace platform::x11
