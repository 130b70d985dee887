// SPDX-License-Identifier: MIT
#include "decoder/tarnixfuncs.h"

#include <cmath>
#include <limits>

#include "decoder/codepage.h"

namespace tarnixFuncs {

std::array<std::u16string, kAlphabetSize> symbolAlphabet;

namespace {

// A double rounded to nearest (ties to even) into 32 bits; outside the range an overflow.
std::int32_t toLong(double x)
{
    const double rounded = std::nearbyint(x);
    if (!(rounded >= static_cast<double>(std::numeric_limits<std::int32_t>::min())
            && rounded <= static_cast<double>(std::numeric_limits<std::int32_t>::max())))
        raiseError(kOverflowError);
    return static_cast<std::int32_t>(rounded);
}

// 2 raised to bits in double precision; a result beyond the double range overflows.
double powerOfTwo(std::int32_t bits)
{
    const double power = std::ldexp(1.0, bits);
    if (!std::isfinite(power))
        raiseError(kOverflowError);
    return power;
}

} // namespace

void initAlphabet()
{
    for (std::size_t slot = 0; slot < kAlphabetSymbols.size(); ++slot)
        symbolAlphabet[slot] = std::u16string(1, kAlphabetSymbols[slot]);
}

std::u16string symbolsToDigits(std::u16string_view symbols)
{
    std::u16string digits;
    const std::size_t count = symbols.size();
    for (std::size_t i = 0; i < count; ++i) {
        const std::u16string_view symbol = symbols.substr(0, 1);
        for (int slot = 0; slot < kAlphabetSize; ++slot) {
            if (symbolAlphabet[static_cast<std::size_t>(slot)] == symbol) {
                digits += static_cast<char16_t>(u'0' + slot / 10);
                digits += static_cast<char16_t>(u'0' + slot % 10);
            }
        }
        symbols.remove_prefix(1);
    }
    return digits;
}

std::int32_t Shift(std::int32_t value, std::int32_t bits, bool toLeft)
{
    try {
        if (toLeft)
            return toLong(static_cast<double>(value) * powerOfTwo(bits));
        const std::int32_t divisor = toLong(powerOfTwo(bits));
        if (divisor == 0)
            raiseError(kDivisionByZeroError);
        return value / divisor;
    } catch (const RuntimeError& error) {
        throw error.withSource("Shift");
    }
}

std::int32_t LShift(std::int32_t value, std::int32_t bits)
{
    try {
        return Shift(value, bits, true);
    } catch (const RuntimeError& error) {
        throw error.withSource("LShift");
    }
}

std::int32_t RShift(std::int32_t value, std::int32_t bits)
{
    try {
        return Shift(value, bits, false);
    } catch (const RuntimeError& error) {
        throw error.withSource("RShift");
    }
}

char16_t byteToChar(std::int32_t code)
{
    if (code < 0 || code > 255)
        raiseError(kInvalidCallError);
    return ansiByteToChar(static_cast<std::uint8_t>(code));
}

std::u16string decodeGroup(std::int16_t a, std::int16_t b, std::int16_t c, std::int16_t d)
{
    std::int32_t v = LShift(a, 6);
    v = LShift(v | b, 6);
    v = LShift(v | c, 6);
    v = v | d;
    const std::int32_t first = RShift(v, 16) ^ kMask;
    const std::int32_t second = (RShift(v, 8) ^ kMask) & 255;
    const std::int32_t third = (v & 255) ^ kMask;
    std::u16string text;
    text += byteToChar(first);
    text += byteToChar(second);
    text += byteToChar(third);
    return text;
}

} // namespace tarnixFuncs
