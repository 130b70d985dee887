// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

namespace platform {

// What each key of a US keyboard types, by the key's place on the keyboard: its PC scan
// code (set 1), the number a keyboard sends for a key whatever the layout. Linux's key
// codes for these keys are the same numbers (X11 and Wayland add 8), and Windows passes
// them in WM_KEYDOWN. A barcode scanner that emulates a keyboard sends these places, and
// Shift for capitals, so the characters it means come from this table alone, never from
// the layout the desktop happens to use.
//
// Scan codes 0x00 to 0x39: the digit row, the three letter rows with their punctuation,
// and the space bar. A zero stands for a key that types no character (Escape, Backspace,
// Tab, Enter, Ctrl, the Shift keys, the keypad's *, Alt).
inline constexpr std::u16string_view kUsUnshifted{u"\0\0"
                                                  u"1234567890-="
                                                  u"\0\0"
                                                  u"qwertyuiop[]"
                                                  u"\0\0"
                                                  u"asdfghjkl;'`"
                                                  u"\0"
                                                  u"\\zxcvbnm,./"
                                                  u"\0\0\0"
                                                  u" ",
    0x3A};
inline constexpr std::u16string_view kUsShifted{u"\0\0"
                                                u"!@#$%^&*()_+"
                                                u"\0\0"
                                                u"QWERTYUIOP{}"
                                                u"\0\0"
                                                u"ASDFGHJKL:\"~"
                                                u"\0"
                                                u"|ZXCVBNM<>?"
                                                u"\0\0\0"
                                                u" ",
    0x3A};

// The character the key at scanCode types on a US keyboard with Shift down or not, or 0
// when it types none. Caps Lock plays no part: a scanner sends Shift for each capital.
inline constexpr char16_t usKeyboardCharacter(unsigned scanCode, bool shift)
{
    const std::u16string_view row = shift ? kUsShifted : kUsUnshifted;
    return scanCode < row.size() ? row[scanCode] : u'\0';
}

} // namespace platform
