#pragma once

#include <string>
#include <string_view>

// Writing decoded fields as UTF-8 so that no field can break the line or the columns
// it is printed in. Decoded data may hold any character of the 8-bit code page,
// control characters included.
namespace cli {

// Appends text for a tab-separated column: TAB, CR, LF and backslash become \t, \r,
// \n and \\; every other control character (U+0000..U+001F, U+007F and the C1
// controls U+0080..U+009F) becomes \xhh with two lower-case hex digits. A surrogate
// without its partner is written as U+FFFD.
void appendColumnField(std::u16string_view text, std::string& out);

// Appends text as a JSON string, quotes included: \" \\ \n \r \t \b \f, and \u00hh
// for the other control characters (below U+0020, U+007F, U+0080..U+009F). A surrogate without its partner is written
// as U+FFFD, so the result is always valid UTF-8.
void appendJsonString(std::u16string_view text, std::string& out);

} // namespace cli
