// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <windows.h>

#include "platform/win32/alttap_win.h"

using Outcome = platform::win32::AltTap::Outcome;

namespace {

// Plays key events, each afterMs after the one before, as a keyboard sends them.
struct Keyboard {
    Outcome operator()(unsigned key, bool down, bool othersHeld = false, std::uint32_t afterMs = 5)
    {
        return tap.onKey(key, key == VK_LMENU || key == VK_RMENU, down, othersHeld, timeMs += afterMs);
    }
    platform::win32::AltTap tap;
    std::uint32_t timeMs = 1000;
};

} // namespace

TEST(AltTap, ALoneTapIsTheScannersThoughTheKeyboardRepeatsIt)
{
    Keyboard keys;
    EXPECT_EQ(keys(VK_LMENU, true), Outcome::Pressed);
    EXPECT_EQ(keys(VK_LMENU, true, false, 500), Outcome::None) << "the repeat of a held Alt";
    EXPECT_EQ(keys(VK_LMENU, false), Outcome::Tapped);
}

TEST(AltTap, AKeyPressedWhileAltIsHeldOrHeldWhenItGoesDownMakesAChord)
{
    for (const unsigned other : {unsigned(VK_F4), unsigned(VK_RMENU)}) {
        Keyboard keys;
        keys(VK_LMENU, true);
        keys(other, true);
        keys(other, false);
        EXPECT_EQ(keys(VK_LMENU, false), Outcome::None) << "key " << other;
    }
    Keyboard keys;
    keys(VK_LCONTROL, true); // Windows sends AltGr as left Ctrl, then right Alt
    keys(VK_RMENU, true, true);
    keys(VK_LCONTROL, false);
    EXPECT_EQ(keys(VK_RMENU, false), Outcome::None) << "AltGr";
}

TEST(AltTap, AnAltWhoseReleaseNeverCameIsPressedAnewAfterAPause)
{
    Keyboard keys;
    keys(VK_LMENU, true); // Ctrl+Alt+Del: the secure desktop takes the releases
    keys(VK_DELETE, true);
    EXPECT_EQ(keys(VK_LMENU, true, false, 20000), Outcome::Pressed);
    EXPECT_EQ(keys(VK_LMENU, false), Outcome::Tapped);
}
