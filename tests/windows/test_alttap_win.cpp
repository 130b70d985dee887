// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include <windows.h>

#include "platform/alttaprule.h"
#include "platform/win32/heldkeys_win.h"
#include "platform/win32/hookkeeper_win.h"

using Event = platform::AltTapRule::Event;

namespace {

// Plays key events, each afterMs after the one before, as a keyboard sends them.
// The tap rule fed as the hook feeds it: Windows' virtual-key codes, no device.
struct Keyboard {
    Event operator()(unsigned key, bool down, bool othersHeld = false, std::uint32_t afterMs = 5)
    {
        return tap.key({.code = key,
            .down = down,
            .alt = key == VK_LMENU || key == VK_RMENU,
            .othersHeld = othersHeld,
            .timeMs = timeMs += afterMs});
    }
    platform::AltTapRule tap;
    std::uint32_t timeMs = 1000;
};

} // namespace

TEST(AltTap, ALoneTapIsTheScannersThoughTheKeyboardRepeatsIt)
{
    Keyboard keys;
    EXPECT_EQ(keys(VK_LMENU, true), Event::LonePress);
    EXPECT_EQ(keys(VK_LMENU, true, false, 500), Event::None) << "the repeat of a held Alt";
    EXPECT_EQ(keys(VK_LMENU, false), Event::Tap);
}

TEST(AltTap, AKeyPressedWhileAltIsHeldOrHeldWhenItGoesDownMakesAChord)
{
    for (const unsigned other : {unsigned(VK_F4), unsigned(VK_RMENU)}) {
        Keyboard keys;
        keys(VK_LMENU, true);
        keys(other, true);
        keys(other, false);
        EXPECT_EQ(keys(VK_LMENU, false), Event::None) << "key " << other;
    }
    Keyboard keys;
    keys(VK_LCONTROL, true); // Windows sends AltGr as left Ctrl, then right Alt
    keys(VK_RMENU, true, true);
    keys(VK_LCONTROL, false);
    EXPECT_EQ(keys(VK_RMENU, false), Event::None) << "AltGr";
}

TEST(AltTap, AnAltWhoseReleaseNeverCameIsPressedAnewAfterAPause)
{
    Keyboard keys;
    keys(VK_LMENU, true); // Ctrl+Alt+Del: the secure desktop takes the releases
    keys(VK_DELETE, true);
    EXPECT_EQ(keys(VK_LMENU, true, false, 20000), Event::LonePress);
    EXPECT_EQ(keys(VK_LMENU, false), Event::Tap);
}

TEST(AltTap, AReleaseNeverFedEndsTheTapWhenMissed)
{
    Keyboard keys;
    keys(VK_LMENU, true); // Alt+F4 closed the window: the release went with it
    keys(VK_F4, true);
    keys.tap.reset();
    EXPECT_FALSE(keys.tap.altHeld());
    EXPECT_EQ(keys(VK_LMENU, true), Event::LonePress) << "a scanner's Alt 5 ms later is no repeat";
    EXPECT_EQ(keys(VK_LMENU, false), Event::Tap);
}

namespace {

// The system as the keeper sees it: keys by their async state, the hook's installs.
struct FakeSystem final : platform::win32::HookKeeper::System {
    bool installHook() override { return ++installs > 0; }
    void removeHook() override { ++removals; }
    DWORD lastInputMs() override { return lastInput; }
    SHORT asyncKeyState(int key) override { return std::exchange(state[static_cast<std::size_t>(key)], 0); }
    // A key the system saw: down now or pressed since the last query.
    void press(int key, SHORT bits = 0x0001)
    {
        state[static_cast<std::size_t>(key)] = bits;
        lastInput += 10;
    }
    std::array<SHORT, 256> state{};
    DWORD lastInput = 1000;
    int installs = 0, removals = 0;
};

} // namespace

TEST(HookKeeper, KeysTheHookNeverReportedInstallItAgainAndFallBackUntilItAnswers)
{
    FakeSystem system;
    platform::win32::HookKeeper keeper(system);
    ASSERT_TRUE(keeper.start());
    keeper.onHookKey(VK_LSHIFT, true);
    system.press(VK_LSHIFT, SHORT(0x8001));
    system.state[VK_SHIFT] = SHORT(0x8001); // the system's generic Shift too
    EXPECT_FALSE(keeper.check()) << "a key the hook reported";
    system.lastInput += 10; // the mouse moved
    system.state[VK_LSHIFT] = system.state[VK_SHIFT] = SHORT(0x8000);
    EXPECT_FALSE(keeper.check()) << "then held on";

    system.press(VK_LMENU); // the system dropped the hook: a tap it never reported
    EXPECT_TRUE(keeper.check());
    EXPECT_TRUE(keeper.altMissed());
    EXPECT_EQ(system.removals, 1);
    EXPECT_EQ(system.installs, 2);
    EXPECT_FALSE(keeper.hookAnswers()) << "the system's key state answers until the new hook reports a key";
    keeper.onHookKey('B', true);
    EXPECT_TRUE(keeper.hookAnswers());

    system.press(VK_CONTROL, SHORT(0x8000)); // held down, unseen, while the hook is lost
    EXPECT_FALSE(keeper.check()) << "held down unseen at one check: the system may be late";
    system.state[VK_CONTROL] = SHORT(0x8000);
    EXPECT_TRUE(keeper.check()) << "held down unseen at two";
    EXPECT_FALSE(keeper.altMissed());
    system.state[VK_CONTROL] = SHORT(0x8000);
    system.lastInput += 10;
    EXPECT_FALSE(keeper.check()) << "a key stuck down counts once";
}

TEST(HeldKeys, KeysTheSystemRefusesAreSentAgainInOrderOrGivenUpWithANote)
{
    std::vector<WORD> delivered;
    std::deque<std::size_t> takes; // how many keys each send takes; all once none is left
    std::vector<std::string> notes;
    platform::win32::HeldKeys keys(
        [&](std::span<INPUT> batch) {
            const std::size_t taken = takes.empty() ? batch.size() : std::min(takes.front(), batch.size());
            if (!takes.empty())
                takes.pop_front();
            for (std::size_t i = 0; i < taken; ++i)
                delivered.push_back(batch[i].ki.wVk);
            return static_cast<UINT>(taken);
        },
        [&](const std::string& note) { notes.push_back(note); });
    const auto hold = [&](WORD key) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        keys.hold(input);
    };
    for (const WORD key : {WORD('A'), WORD('B'), WORD('C')})
        hold(key);
    takes = {1, 0};
    EXPECT_TRUE(keys.sendOn()) << "B and C refused: to be sent again";
    EXPECT_FALSE(keys.sendOn());
    EXPECT_EQ(delivered, (std::vector<WORD>{'A', 'B', 'C'}));
    EXPECT_TRUE(notes.empty());

    hold('D');
    hold('E');
    takes.assign(platform::win32::HeldKeys::kAttempts, 0);
    for (int attempt = 1; attempt < platform::win32::HeldKeys::kAttempts; ++attempt)
        EXPECT_TRUE(keys.sendOn()) << "attempt " << attempt;
    EXPECT_FALSE(keys.sendOn()) << "given up";
    EXPECT_TRUE(keys.empty());
    EXPECT_EQ(delivered.size(), 3u);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_NE(notes[0].find("2 keys"), std::string::npos) << notes[0];
}
