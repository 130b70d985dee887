// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Writing decoded fields as UTF-8 so that no field can break the line or the columns
// it is printed in. Decoded data may hold any character of the 8-bit code page,
// control characters included.
namespace cli {

// The most bytes one UTF-16 unit of a field takes in either form: "\u00hh". Room for
// text.size() times this always holds the written field (JSON quotes aside).
inline constexpr std::size_t kLongestFormOfAUnit = 6;

// Writes text for a tab-separated column at out and returns the position behind it:
// TAB, CR, LF and backslash become \t, \r, \n and \\; every other control character
// (U+0000..U+001F, U+007F and the C1 controls U+0080..U+009F) becomes \xhh with two
// lower-case hex digits. A surrogate without its partner is written as U+FFFD.
char* writeColumnField(std::u16string_view text, char* out);

// Writes text as the inside of a JSON string (no quotes) at out and returns the
// position behind it: \" \\ \n \r \t \b \f, and \u00hh for the other control
// characters (below U+0020, U+007F, U+0080..U+009F). A surrogate without its
// partner is written as U+FFFD, so the result is always valid UTF-8.
char* writeJsonStringContent(std::u16string_view text, char* out);

// The same, appended to a string; the JSON form with its quotes.
void appendColumnField(std::u16string_view text, std::string& out);
void appendJsonString(std::u16string_view text, std::string& out);

} // namespace cli
