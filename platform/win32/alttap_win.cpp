// SPDX-License-Identifier: MIT
#include "platform/win32/alttap_win.h"

namespace platform::win32 {

namespace {

// A held key repeats within the keyboard's longest repeat delay (1 s), so the same Alt
// going down after a longer pause is a new press whose release never reached us (the
// secure desktop of Ctrl+Alt+Del takes it, for one). Without this, the stale state would
// make the next scanner's tap look like a repeat.
constexpr std::uint32_t kLongestRepeatGapMs = 1500;

} // namespace

AltTap::Outcome AltTap::onKey(unsigned key, bool alt, bool down, bool othersHeld, std::uint32_t timeMs)
{
    if (alt && down) {
        const bool repeat = key == altKey_ && timeMs - lastAltDownMs_ <= kLongestRepeatGapMs;
        lastAltDownMs_ = timeMs;
        if (repeat)
            return Outcome::None;
        if (altKey_ != 0 && key != altKey_) { // both Alt keys: a chord
            lone_ = false;
            return Outcome::None;
        }
        altKey_ = key;
        lone_ = !othersHeld;
        return Outcome::Pressed;
    }
    if (alt) {
        if (key != altKey_)
            return Outcome::None;
        altKey_ = 0;
        return lone_ ? Outcome::Tapped : Outcome::None;
    }
    if (down)
        lone_ = false;
    return Outcome::None;
}

} // namespace platform::win32
