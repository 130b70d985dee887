// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

// Conversion between UTF-8 (files, pipes, web addresses) and the UTF-16 text the decoder works on.
namespace unicode {

inline constexpr char16_t kReplacementCharacter = 0xFFFD;

// Appends the UTF-16 form of UTF-8 bytes to out. Every byte that does not begin a
// well-formed sequence (a stray continuation byte, an overlong form, an encoded
// surrogate, a value beyond U+10FFFF, a sequence cut short) becomes one U+FFFD, and
// conversion goes on with the next byte: one replacement per bad byte.
void appendUtf8AsUtf16(std::string_view bytes, std::u16string& out);

// Appends the UTF-8 form of one code point (at most U+10FFFF, not a surrogate).
void appendUtf8(char32_t codePoint, std::string& out);

// Writes the UTF-8 form of one code point (one to four bytes) at out and returns the
// position behind it.
char* writeUtf8(char32_t codePoint, char* out);

// Reads the code point that starts at text[index] and advances index past it. A
// surrogate pair gives one code point; a surrogate without its partner gives U+FFFD.
char32_t nextCodePoint(std::u16string_view text, std::size_t& index);

} // namespace unicode
