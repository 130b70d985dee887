// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include "decoder/tarnixfuncs.h"

using namespace tarnixFuncs;

namespace {

class TarnixFuncs : public ::testing::Test {
protected:
    void SetUp() override { initAlphabet(); }
};

// Runs call and returns the RuntimeError it raised; fails the test if it raised none.
RuntimeError errorOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const RuntimeError& error) {
        return error;
    }
    ADD_FAILURE() << "no run-time error was raised";
    return RuntimeError(0, "", "");
}

} // namespace

TEST_F(TarnixFuncs, AlphabetHasLowerCaseBeforeCapitalsThenDigitsPlusSlash)
{
    EXPECT_EQ(symbolAlphabet[0], u"a");
    EXPECT_EQ(symbolAlphabet[25], u"z");
    EXPECT_EQ(symbolAlphabet[26], u"A");
    EXPECT_EQ(symbolAlphabet[51], u"Z");
    EXPECT_EQ(symbolAlphabet[52], u"0");
    EXPECT_EQ(symbolAlphabet[61], u"9");
    EXPECT_EQ(symbolAlphabet[62], u"+");
    EXPECT_EQ(symbolAlphabet[63], u"/");
    for (int slot = 0; slot < kAlphabetSize; ++slot) {
        const auto& symbol = symbolAlphabet[static_cast<std::size_t>(slot)];
        ASSERT_EQ(symbol.size(), 1u) << "slot " << slot;
        EXPECT_EQ(symbolSlot(symbol[0]), slot) << "slot " << slot;
    }
    EXPECT_EQ(symbolSlot(u'-'), -1);
    EXPECT_EQ(symbolSlot(u'\r'), -1);
    EXPECT_EQ(symbolSlot(u'\u00E9'), -1);
    EXPECT_EQ(symbolSlot(u'\u0161'), -1); // 0x61 in its low byte must not alias "a"
}

TEST_F(TarnixFuncs, SymbolsToDigitsWritesTwoDigitSlots)
{
    EXPECT_EQ(symbolsToDigits(u""), u"");
    EXPECT_EQ(symbolsToDigits(u"a"), u"00");
    EXPECT_EQ(symbolsToDigits(u"j"), u"09");
    EXPECT_EQ(symbolsToDigits(u"k"), u"10");
    EXPECT_EQ(symbolsToDigits(u"/"), u"63");
    EXPECT_EQ(symbolsToDigits(u"aB"), u"0027") << "case tells symbols apart";
    EXPECT_EQ(symbolsToDigits(u"Za9+"), u"51006162");
}

TEST_F(TarnixFuncs, SymbolsToDigitsDropsCharactersOutsideTheAlphabet)
{
    EXPECT_EQ(symbolsToDigits(u"a-b"), u"0001");
    EXPECT_EQ(symbolsToDigits(u". \r\n-"), u"");
    EXPECT_EQ(symbolsToDigits(u"\u00E4a\u20ACb"), u"0001");
}

TEST_F(TarnixFuncs, ShiftMultipliesOrDividesByPowersOfTwo)
{
    EXPECT_EQ(Shift(5, 6, true), 320);
    EXPECT_EQ(Shift(320, 6, false), 5);
    EXPECT_EQ(Shift(-7, 1, false), -3) << "division truncates toward zero";
    EXPECT_EQ(Shift(7, 1, false), 3);
    EXPECT_EQ(LShift(1, 30), 1 << 30);
    EXPECT_EQ(LShift(-1, 31), INT_MIN);
    EXPECT_EQ(RShift(INT_MAX, 30), 1);
    EXPECT_EQ(RShift(123, 0), 123);
}

TEST_F(TarnixFuncs, LeftShiftByNegativeBitsRoundsHalvesToEven)
{
    EXPECT_EQ(LShift(5, -1), 2); // 2.5
    EXPECT_EQ(LShift(7, -1), 4); // 3.5
    EXPECT_EQ(LShift(-5, -1), -2);
    EXPECT_EQ(LShift(3, -2), 1); // 0.75
    EXPECT_EQ(LShift(1, -2000), 0);
}

TEST_F(TarnixFuncs, ShiftErrorsCarryTheNameOfTheRoutineCalled)
{
    RuntimeError overflow = errorOf([] { Shift(1, 31, true); });
    EXPECT_EQ(overflow.number(), kOverflowError);
    EXPECT_EQ(overflow.description(), "Overflow");
    EXPECT_EQ(overflow.source(), "Shift");

    overflow = errorOf([] { LShift(1 << 20, 12); });
    EXPECT_EQ(overflow.number(), kOverflowError);
    EXPECT_EQ(overflow.source(), "LShift") << "re-raised by LShift, not left as Shift";
    EXPECT_EQ(overflow.helpContext(), 1000006);

    overflow = errorOf([] { LShift(0, 2000); });
    EXPECT_EQ(overflow.number(), kOverflowError) << "2^2000 is beyond double range";

    overflow = errorOf([] { RShift(1, 31); });
    EXPECT_EQ(overflow.number(), kOverflowError) << "2^31 does not fit 32 bits";
    EXPECT_EQ(overflow.source(), "RShift");

    RuntimeError zero = errorOf([] { RShift(100, -1); });
    EXPECT_EQ(zero.number(), kDivisionByZeroError) << "2^-1 rounds to 0";
    EXPECT_EQ(zero.description(), "Division by zero");
    EXPECT_EQ(zero.source(), "RShift");

    zero = errorOf([] { Shift(100, -5, false); });
    EXPECT_EQ(zero.source(), "Shift");
}

TEST_F(TarnixFuncs, DecodeGroupPacksFourSymbolsAndMasksThreeBytes)
{
    // a b c d: packed 0x001083, bytes 0x00 0x10 0x83 before the mask.
    EXPECT_EQ(
        decodeGroup(0, 1, 2, 3), (std::u16string{char16_t(0x00 ^ 0x5A), char16_t(0x10 ^ 0x5A), char16_t(0x83 ^ 0x5A)}));
    EXPECT_EQ(decodeGroup(0, 0, 0, 0), u"ZZZ");
    // All 24 bits set: each byte 0xFF ^ 0x5A = 0xA5, the yen sign.
    EXPECT_EQ(decodeGroup(63, 63, 63, 63), u"\u00A5\u00A5\u00A5");
}

TEST_F(TarnixFuncs, DecodeGroupUsesTheWindows1252CodePage)
{
    // 0x80 ^ 0x5A = 0xDA: bytes 0xDA 0xDA 0xDA give "ÚÚÚ"; bytes that land in
    // 0x80..0x9F give the code page's characters and its unassigned bytes C1 controls.
    EXPECT_EQ(byteToChar(0x80), u'\u20AC');
    EXPECT_EQ(byteToChar(0x9F), u'\u0178');
    for (int unassigned : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
        EXPECT_EQ(byteToChar(unassigned), char16_t(unassigned)) << "byte " << unassigned;
    EXPECT_EQ(byteToChar(0x41), u'A');
    EXPECT_EQ(byteToChar(0xFF), u'\u00FF');
    EXPECT_EQ(byteToChar(0x00), u'\0');
}

TEST_F(TarnixFuncs, ByteOutsideTheCodePageRangeIsAnInvalidArgument)
{
    for (int code : {-1, 256, 70000}) {
        const RuntimeError error = errorOf([code] { byteToChar(code); });
        EXPECT_EQ(error.number(), kInvalidCallError) << "code " << code;
        EXPECT_EQ(error.description(), "Invalid procedure call or argument");
    }
    // A negative symbol value drives the first byte out of range.
    const RuntimeError error = errorOf([] { decodeGroup(-1, 0, 0, 0); });
    EXPECT_EQ(error.number(), kInvalidCallError);
    EXPECT_EQ(error.source(), kProgramSource) << "decodeGroup passes the error on unchanged";
}

TEST_F(TarnixFuncs, DecodeGroupOverflowsForLargeSymbolValues)
{
    const RuntimeError error = errorOf([] { decodeGroup(32767, 0, 0, 0); });
    EXPECT_EQ(error.number(), kOverflowError);
    EXPECT_EQ(error.source(), "LShift");
}
