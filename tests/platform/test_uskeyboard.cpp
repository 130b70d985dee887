// SPDX-License-Identifier: MIT
// The US keyboard a scanner emulates, read off a real keyboard's keys by scan code.
#include <gtest/gtest.h>

#include "platform/uskeyboard.h"

namespace {

struct Key {
    unsigned scanCode;
    char16_t plain;
    char16_t shifted;
};

TEST(UsKeyboard, EachKeyTypesWhatItsCapShows)
{
    // Keys that layouts move or make dead keys of, and the ends of each row.
    const Key keys[] = {
        {0x02, u'1', u'!'},
        {0x0B, u'0', u')'},
        {0x0C, u'-', u'_'},
        {0x0D, u'=', u'+'},
        {0x10, u'q', u'Q'},
        {0x15, u'y', u'Y'},
        {0x1A, u'[', u'{'},
        {0x1B, u']', u'}'},
        {0x1E, u'a', u'A'},
        {0x27, u';', u':'},
        {0x28, u'\'', u'"'},
        {0x29, u'`', u'~'},
        {0x2B, u'\\', u'|'},
        {0x2C, u'z', u'Z'},
        {0x32, u'm', u'M'},
        {0x35, u'/', u'?'},
        {0x39, u' ', u' '},
    };
    for (const Key& key : keys) {
        EXPECT_EQ(platform::usKeyboardCharacter(key.scanCode, false), key.plain) << "scan code " << key.scanCode;
        EXPECT_EQ(platform::usKeyboardCharacter(key.scanCode, true), key.shifted) << "scan code " << key.scanCode;
    }
}

TEST(UsKeyboard, KeysWithoutACharacterTypeNone)
{
    // Escape, Backspace, Tab, Enter, Ctrl, left Shift, right Shift, Alt, Caps Lock, F1,
    // the keypad's 7, and codes past the table.
    for (const unsigned scanCode :
        {0x01u, 0x0Eu, 0x0Fu, 0x1Cu, 0x1Du, 0x2Au, 0x36u, 0x38u, 0x3Au, 0x3Bu, 0x47u, 0xFFu, 0x1000u}) {
        EXPECT_EQ(platform::usKeyboardCharacter(scanCode, false), u'\0') << "scan code " << scanCode;
        EXPECT_EQ(platform::usKeyboardCharacter(scanCode, true), u'\0') << "scan code " << scanCode;
    }
}

} // namespace
