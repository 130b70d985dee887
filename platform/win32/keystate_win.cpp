// SPDX-License-Identifier: MIT
#include "platform/win32/keystate_win.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace platform {

namespace {

// The left and right keys behind a key that exists on both sides of the keyboard.
struct SideKeys {
    int left = 0;
    int right = 0;
};

SideKeys sideKeysOf(int virtualKey)
{
    switch (virtualKey) {
    case VK_MENU: return {VK_LMENU, VK_RMENU};
    case VK_SHIFT: return {VK_LSHIFT, VK_RSHIFT};
    case VK_CONTROL: return {VK_LCONTROL, VK_RCONTROL};
    default: return {};
    }
}

class WinKeyState final : public KeyState {
public:
    std::int16_t query(int virtualKey) override
    {
        // Windows sets "pressed since the last query" (the lowest bit) on the generic key
        // as well as on the side that was pressed; Wine sets it on the side only, so a
        // short press between two queries would be lost there. Asking both sides too
        // gives the same answer on Windows and keeps the press under Wine. Every query
        // clears the bit it reports, so all three are always asked.
        std::int16_t state = GetAsyncKeyState(virtualKey);
        const SideKeys sides = sideKeysOf(virtualKey);
        if (sides.left != 0) {
            state = static_cast<std::int16_t>(state | GetAsyncKeyState(sides.left));
            state = static_cast<std::int16_t>(state | GetAsyncKeyState(sides.right));
        }
        return state;
    }
};

} // namespace

std::unique_ptr<KeyState> createWinKeyState()
{
    return std::make_unique<WinKeyState>();
}

} // namespace platform
