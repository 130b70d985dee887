// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>

namespace tarnixFuncs {

using CodePageTable = std::array<char16_t, 256>;

// The characters that the 256 byte values stand for in the active 8-bit (ANSI) code
// page. Each byte is converted on its own, also where the code page is a double-byte one.
const CodePageTable& activeCodePage();

inline char16_t ansiByteToChar(std::uint8_t byte)
{
    return activeCodePage()[byte];
}

} // namespace tarnixFuncs
