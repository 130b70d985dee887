// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "decoder/scanline.h"

// The scan line decoded step by step, as the routines describe it: each field's symbols
// transcribed to digit-pair text with symbolsToDigits, then decoded four numbers at a
// time with decodeGroup. Slow; the reference the program's fast decoder is checked
// against by the tests, the fuzzer and the benchmark. Needs initAlphabet.
namespace testsupport {

std::optional<tarnixFuncs::ScanFields> decodeScanLineLiteral(std::u16string_view line);

// Decodes a field's digit-pair text group by group; a partial group gives nothing.
std::u16string decodeDigitPairs(std::u16string_view digits);

} // namespace testsupport
