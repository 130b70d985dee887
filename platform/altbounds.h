// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>

// How long Tarnix may hold a person's keys, in one place: every wait that can stand
// between a key press and the program it was typed in is bounded here, and together they
// keep the promise that the keyboard is never held longer than kLongestKeyboardHold,
// whatever state Tarnix is in.
namespace platform::altbounds {

using std::chrono::milliseconds;

// The promise.
inline constexpr milliseconds kLongestKeyboardHold{200};

// X11: the Alt guard freezes the keyboard at an Alt press and lets the keys go on by
// itself after this long without Tarnix's word. The rest of the promise is the guard's
// time to be woken on a busy machine.
inline constexpr milliseconds kGuardFreeze{150};
inline constexpr milliseconds kGuardWakeSlack{50};

// Windows: after a tap the hook holds the keys that follow for the main window's thread
// this long at most; the system's timers may fire up to one tick (about 16 ms) late.
inline constexpr milliseconds kHookHold{120};
inline constexpr milliseconds kWindowsTimerSlack{16};

// Windows: a scanner types a line's keys a few milliseconds apart, so a longer pause ends
// the keys sent on to the main window after a tap. It holds no key itself.
inline constexpr milliseconds kLongestGapInLine{50};

// X11, in Tarnix: keys that follow a counted Alt wait for the loop to empty the input
// box; they are in Tarnix's own window already, so they hold no other program's keys,
// but never longer than this.
inline constexpr milliseconds kLongestOwnHold{250};

// The tap rule: a held key repeats within the keyboard's longest repeat delay (1 s), so
// the same Alt pressed again after a longer pause is a new press whose release was lost.
inline constexpr milliseconds kLongestRepeatGap{1500};

static_assert(
    kGuardFreeze + kGuardWakeSlack <= kLongestKeyboardHold, "the Alt guard must let the keys go within the promise");
static_assert(
    kHookHold + kWindowsTimerSlack <= kLongestKeyboardHold, "the Windows hook must let the keys go within the promise");
static_assert(kLongestGapInLine < kHookHold, "a line's keys come closer than the hook holds them");
static_assert(kLongestRepeatGap > milliseconds{1000}, "a key held past the longest repeat delay is still a repeat");

} // namespace platform::altbounds
