// SPDX-License-Identifier: MIT
#include "decoder/codepage.h"

#include <array>

namespace tarnixFuncs {

namespace {

// Windows-1252 between 0x80 and 0x9F; everything else equals Latin-1. The five
// bytes the code page leaves unassigned map to the C1 control of the same value,
// as Windows converts them.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC,
    0x0081,
    0x201A,
    0x0192,
    0x201E,
    0x2026,
    0x2020,
    0x2021,
    0x02C6,
    0x2030,
    0x0160,
    0x2039,
    0x0152,
    0x008D,
    0x017D,
    0x008F,
    0x0090,
    0x2018,
    0x2019,
    0x201C,
    0x201D,
    0x2022,
    0x2013,
    0x2014,
    0x02DC,
    0x2122,
    0x0161,
    0x203A,
    0x0153,
    0x009D,
    0x017E,
    0x0178,
};

constexpr CodePageTable buildWindows1252()
{
    CodePageTable table{};
    for (int byte = 0; byte < 256; ++byte)
        table[static_cast<std::size_t>(byte)] = static_cast<char16_t>(byte);
    for (std::size_t i = 0; i < kHighControls.size(); ++i)
        table[0x80 + i] = kHighControls[i];
    return table;
}

constexpr CodePageTable kWindows1252 = buildWindows1252();

} // namespace

const CodePageTable& activeCodePage()
{
    return kWindows1252;
}

} // namespace tarnixFuncs
