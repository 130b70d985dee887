// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Cutting a scan line into its three fields and decoding them.
//
// Layout, positions counted from 1, L the length with the CR LF line end included:
//   1          lead character (not examined)
//   2 .. 25    serial field, 24 symbols
//   26         separator (not examined)
//   27 .. 30   type field, 4 symbols
//   31         separator (not examined)
//   32 .. L-3  data field, L-34 symbols
//   L-2        closing separator (not examined)
//   L-1 .. L   CR LF
namespace tarnixFuncs {

inline constexpr std::size_t kShortestScanLine = 34;

struct ScanFields {
    std::u16string data;   // three characters per whole group of four symbols
    std::u16string serial; // 18 characters
    std::u16string type;   // 3 characters
};

// The three fields' symbols of a line at least kShortestScanLine long, cut by position
// only (separators and lead are not examined).
struct FieldSymbols {
    std::u16string_view serial; // 24 symbols
    std::u16string_view type;   // 4 symbols
    std::u16string_view data;   // the rest up to the closing separator
};
FieldSymbols cutFields(std::u16string_view line);

// The decoded fields of a whole scan line, or nothing when the line is shorter than
// kShortestScanLine and so cannot be cut. Characters outside the alphabet are dropped
// and shift the rest of their field; the last one to three symbols of a field beyond
// a whole group are not decoded. Needs no start-up step.
std::optional<ScanFields> decodeScanLine(std::u16string_view line);

} // namespace tarnixFuncs
