// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <memory>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "platform/win32/keystate_win.h"

// Key presses are injected with SendInput into the desktop's input, as a keyboard would
// make them; the key state is the whole desktop's, so these tests must not run beside
// each other (RESOURCE_LOCK in CMakeLists.txt).

using platform::kAltKey;

namespace {

void sendKey(WORD virtualKey, bool down, bool extended = false)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.dwFlags = (down ? 0 : KEYEVENTF_KEYUP) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
    ASSERT_EQ(SendInput(1, &input, sizeof input), 1u) << "key " << virtualKey << (down ? " down" : " up");
}

class WinKeyState : public ::testing::Test {
protected:
    void SetUp() override
    {
        keys = platform::createWinKeyState();
        ASSERT_TRUE(keys);
        // Start from a released Alt with no press left over from earlier programs.
        sendKey(VK_MENU, false);
        keys->query(kAltKey);
        ASSERT_EQ(keys->query(kAltKey), 0) << "Alt still reported after release and a query";
    }
    void TearDown() override { sendKey(VK_MENU, false); }

    std::unique_ptr<platform::KeyState> keys;
};

} // namespace

TEST_F(WinKeyState, ReportsAltWhileItIsHeldDown)
{
    sendKey(VK_MENU, true);
    EXPECT_NE(keys->query(kAltKey), 0) << "first query while held";
    EXPECT_NE(keys->query(kAltKey), 0) << "second query while held";
    EXPECT_LT(keys->query(kAltKey), 0) << "the down bit is the sign bit";

    sendKey(VK_MENU, false);
    EXPECT_EQ(keys->query(kAltKey), 0) << "released, and the press was already reported";
}

TEST_F(WinKeyState, ReportsAPressSinceTheLastQueryOnce)
{
    sendKey(VK_MENU, true);
    sendKey(VK_MENU, false);
    EXPECT_NE(keys->query(kAltKey), 0) << "left Alt pressed and released between two queries";
    EXPECT_EQ(keys->query(kAltKey), 0) << "the same press reported twice";

    sendKey(VK_MENU, true, true); // the right Alt key (AltGr)
    sendKey(VK_MENU, false, true);
    EXPECT_NE(keys->query(kAltKey), 0) << "right Alt pressed and released between two queries";
    EXPECT_EQ(keys->query(kAltKey), 0) << "the same press reported twice";
}

TEST_F(WinKeyState, OtherKeysLeaveAltAlone)
{
    for (const WORD other : {WORD(VK_SHIFT), WORD(VK_CONTROL), WORD(VK_F10)}) {
        sendKey(other, true);
        EXPECT_NE(keys->query(other), 0) << "key " << other << " held, asked for itself";
        EXPECT_EQ(keys->query(kAltKey), 0) << "key " << other << " held";
        sendKey(other, false);
        EXPECT_EQ(keys->query(kAltKey), 0) << "key " << other << " released";
    }
}
