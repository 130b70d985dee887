// SPDX-License-Identifier: MIT
#include "platform/win32/hookkeeper_win.h"

namespace platform::win32 {

namespace {

bool isMouseButton(int key)
{
    return key == VK_LBUTTON || key == VK_RBUTTON || key == VK_MBUTTON || key == VK_XBUTTON1 || key == VK_XBUTTON2;
}

bool isAlt(int key)
{
    return key == VK_MENU || key == VK_LMENU || key == VK_RMENU;
}

// The hook reports the left or right key; the system's state has the generic key too.
DWORD genericOf(DWORD key)
{
    switch (key) {
    case VK_LSHIFT:
    case VK_RSHIFT: return VK_SHIFT;
    case VK_LCONTROL:
    case VK_RCONTROL: return VK_CONTROL;
    case VK_LMENU:
    case VK_RMENU: return VK_MENU;
    default: return key;
    }
}

} // namespace

bool HookKeeper::start()
{
    installed_ = answers_ = system_.installHook();
    lastInputMs_ = system_.lastInputMs();
    return installed_;
}

void HookKeeper::onHookKey(DWORD virtualKey, bool down)
{
    answers_ = true;
    for (const DWORD each : {virtualKey, genericOf(virtualKey)}) {
        const std::size_t key = each & 0xFF;
        down_[key] = down;
        if (down)
            pressedOfLate_[key] = true;
    }
}

bool HookKeeper::check()
{
    const DWORD lastInput = system_.lastInputMs();
    // No input since the last check (mouse included): nothing to compare, nothing to ask.
    const bool input = lastInput != lastInputMs_;
    lastInputMs_ = lastInput;
    if (!installed_) { // an install that failed after a loss: tried again at every check
        installed_ = system_.installHook();
        return false;
    }
    if ((!input && heldUnseen_.none()) || !keyMissed())
        return false;
    system_.removeHook();
    installed_ = system_.installHook();
    answers_ = false;
    return true;
}

bool HookKeeper::keyMissed()
{
    // The system updates its key state only once the hook has answered for the key, so a
    // key the hook is still to be asked about is not down here yet. Its update may come
    // just after a check, hence a press the hook reported counts for two checks, and a
    // key held unseen must be so at two checks in a row.
    bool missed = false;
    altMissed_ = false;
    const std::bitset<256> pressed = pressedOfLate_ | pressedBefore_;
    std::bitset<256> heldUnseen;
    for (int key = VK_BACK; key <= 0xFE; ++key) {
        if (isMouseButton(key))
            continue;
        const SHORT state = system_.asyncKeyState(key);
        const auto index = static_cast<std::size_t>(key);
        const bool down = (state & 0x8000) != 0;
        if (!down)
            blamed_[index] = false;
        heldUnseen[index] = down && !down_[index] && !pressed[index];
        const bool held = heldUnseen[index] && heldUnseen_[index] && !blamed_[index];
        if (((state & 0x0001) != 0 && !pressed[index]) || held) {
            missed = true;
            altMissed_ = altMissed_ || isAlt(key);
            // A key stuck down in the system's state (its release taken elsewhere) is not
            // a loss at every check.
            blamed_[index] = blamed_[index] || held;
        }
    }
    pressedBefore_ = pressedOfLate_;
    pressedOfLate_.reset();
    heldUnseen_ = heldUnseen;
    return missed;
}

} // namespace platform::win32
