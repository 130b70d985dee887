// SPDX-License-Identifier: MIT
#include "decoder/scanline.h"

#include <array>
#include <cstdint>

#include "decoder/codepage.h"
#include "decoder/tarnixfuncs.h"

namespace tarnixFuncs {

namespace {

struct FieldSymbols {
    std::u16string_view serial;
    std::u16string_view type;
    std::u16string_view data;
};

// Cuts by position only; the caller has made sure the line is long enough.
FieldSymbols cutFields(std::u16string_view line)
{
    FieldSymbols fields;
    fields.serial = line.substr(1, 24);
    std::u16string_view rest = line.substr(26);
    fields.type = rest.substr(0, 4);
    rest.remove_prefix(5);
    fields.data = rest.substr(0, rest.size() - 3);
    return fields;
}

// Decodes a field straight from its symbols: the slot lookup replaces the digit-pair
// text, and the shifts cannot fail for slots 0..63, so plain bit operations serve.
std::u16string decodeFieldSymbols(std::u16string_view symbols)
{
    const CodePageTable& codePage = activeCodePage();
    // Sized for the most a field can give, written in place, then cut to what it gave.
    std::u16string decoded(symbols.size() / 4 * 3, u'\0');
    char16_t* out = decoded.data();
    std::uint32_t packed = 0;
    int pending = 0;
    for (const char16_t ch : symbols) {
        const int slot = symbolSlot(ch);
        if (slot < 0)
            continue;
        packed = (packed << 6) | static_cast<std::uint32_t>(slot);
        if (++pending == 4) {
            *out++ = codePage[((packed >> 16) ^ kMask) & 0xFF];
            *out++ = codePage[((packed >> 8) ^ kMask) & 0xFF];
            *out++ = codePage[(packed ^ kMask) & 0xFF];
            packed = 0;
            pending = 0;
        }
    }
    decoded.resize(static_cast<std::size_t>(out - decoded.data()));
    return decoded;
}

std::int16_t takeNumber(std::u16string_view& digits)
{
    const auto number = static_cast<std::int16_t>((digits[0] - u'0') * 10 + (digits[1] - u'0'));
    digits.remove_prefix(2);
    return number;
}

} // namespace

std::optional<ScanFields> decodeScanLine(std::u16string_view line)
{
    if (line.size() < kShortestScanLine)
        return std::nullopt;
    const FieldSymbols fields = cutFields(line);
    ScanFields result;
    result.data = decodeFieldSymbols(fields.data);
    result.serial = decodeFieldSymbols(fields.serial);
    result.type = decodeFieldSymbols(fields.type);
    return result;
}

std::u16string decodeDigitPairs(std::u16string_view digits)
{
    std::u16string decoded;
    // Runs for counter values 1, 2, ... up to m / 8: a field keeps no partial group.
    const std::size_t groups = digits.size() / 8;
    for (std::size_t group = 1; group <= groups; ++group) {
        const std::int16_t a = takeNumber(digits);
        const std::int16_t b = takeNumber(digits);
        const std::int16_t c = takeNumber(digits);
        const std::int16_t d = takeNumber(digits);
        decoded += decodeGroup(a, b, c, d);
    }
    return decoded;
}

std::optional<ScanFields> decodeScanLineLiteral(std::u16string_view line)
{
    if (line.size() < kShortestScanLine)
        return std::nullopt;
    const FieldSymbols fields = cutFields(line);
    const std::u16string serialDigits = symbolsToDigits(fields.serial);
    const std::u16string typeDigits = symbolsToDigits(fields.type);
    const std::u16string dataDigits = symbolsToDigits(fields.data);
    ScanFields result;
    result.data = decodeDigitPairs(dataDigits);
    result.serial = decodeDigitPairs(serialDigits);
    result.type = decodeDigitPairs(typeDigits);
    return result;
}

} // namespace tarnixFuncs
