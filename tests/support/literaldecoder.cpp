// SPDX-License-Identifier: MIT
#include "tests/support/literaldecoder.h"

#include <cstdint>

#include "decoder/tarnixfuncs.h"

namespace testsupport {

namespace {

std::int16_t takeNumber(std::u16string_view& digits)
{
    const auto number = static_cast<std::int16_t>((digits[0] - u'0') * 10 + (digits[1] - u'0'));
    digits.remove_prefix(2);
    return number;
}

} // namespace

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
        decoded += tarnixFuncs::decodeGroup(a, b, c, d);
    }
    return decoded;
}

std::optional<tarnixFuncs::ScanFields> decodeScanLineLiteral(std::u16string_view line)
{
    if (line.size() < tarnixFuncs::kShortestScanLine)
        return std::nullopt;
    const tarnixFuncs::FieldSymbols fields = tarnixFuncs::cutFields(line);
    tarnixFuncs::ScanFields result;
    result.data = decodeDigitPairs(tarnixFuncs::symbolsToDigits(fields.data));
    result.serial = decodeDigitPairs(tarnixFuncs::symbolsToDigits(fields.serial));
    result.type = decodeDigitPairs(tarnixFuncs::symbolsToDigits(fields.type));
    return result;
}

} // namespace testsupport
