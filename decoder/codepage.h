#pragma once

#include <cstdint>

namespace tarnixFuncs {

// The character that one byte stands for in the active 8-bit (ANSI) code page.
// Each byte is converted on its own, also where the code page is a double-byte one.
char16_t ansiByteToChar(std::uint8_t byte);

} // namespace tarnixFuncs
