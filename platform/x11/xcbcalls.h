// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include <xcb/xcb.h>

namespace platform::x11 {

// The first screen's root window.
inline xcb_window_t rootOf(xcb_connection_t* connection)
{
    return xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
}

// The atom of the name, made when missing; XCB_ATOM_NONE when the server did not answer.
inline std::uint32_t internAtom(xcb_connection_t* connection, std::string_view name)
{
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, false, static_cast<std::uint16_t>(name.size()), name.data()), nullptr);
    const std::uint32_t atom = reply ? reply->atom : std::uint32_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}

} // namespace platform::x11
