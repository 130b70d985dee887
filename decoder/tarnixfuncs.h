// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "decoder/runtimeerror.h"

// The routines that turn the scanner's symbols back into characters. Every symbol
// stands for a 6-bit number (its slot in the alphabet); four symbols carry three
// bytes, each combined with a fixed mask by exclusive-or.
namespace tarnixFuncs {

inline constexpr int kAlphabetSize = 64;
inline constexpr std::uint8_t kMask = 0x5A;

// The 64 one-character symbols by slot: a-z, A-Z, 0-9, "+", "/". Filled once by
// initAlphabet and only read afterwards.
extern std::array<std::u16string, kAlphabetSize> symbolAlphabet;

// Fills symbolAlphabet slot by slot, in ascending order.
void initAlphabet();

// The alphabet's symbols in slot order, and its reverse index: the slot of every 8-bit
// character, or -1. Built at compile time, so the fast line decoder needs no start-up
// step; symbolAlphabet holds the same symbols once initAlphabet has run.
inline constexpr std::u16string_view kAlphabetSymbols
    = u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789+/";
inline constexpr std::array<std::int8_t, 256> kSymbolSlotIndex = [] {
    std::array<std::int8_t, 256> index{};
    index.fill(-1);
    for (std::size_t slot = 0; slot < kAlphabetSymbols.size(); ++slot)
        index[kAlphabetSymbols[slot]] = static_cast<std::int8_t>(slot);
    return index;
}();
static_assert(kAlphabetSymbols.size() == kAlphabetSize);

// The slot of a character in the alphabet, or -1 for a character that stands in no slot.
inline int symbolSlot(char16_t ch) noexcept
{
    return ch < kSymbolSlotIndex.size() ? kSymbolSlotIndex[ch] : -1;
}

// Each symbol written as its slot with two digits ("00" to "63"); characters that
// stand in no slot add nothing.
std::u16string symbolsToDigits(std::u16string_view symbols);

// value * 2^bits (toLeft) or value / 2^bits truncated toward zero (not toLeft).
// Errors raised inside carry the source "Shift".
std::int32_t Shift(std::int32_t value, std::int32_t bits, bool toLeft);
std::int32_t LShift(std::int32_t value, std::int32_t bits); // source "LShift"
std::int32_t RShift(std::int32_t value, std::int32_t bits); // source "RShift"

// The three characters of one group of four symbol values, first value most significant.
std::u16string decodeGroup(std::int16_t a, std::int16_t b, std::int16_t c, std::int16_t d);

// The character of a byte value in the active 8-bit code page; a value outside
// 0..255 raises "Invalid procedure call or argument".
char16_t byteToChar(std::int32_t code);

} // namespace tarnixFuncs
