// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

// Readers for what tarnix-decode writes, the way a consumer of its output would parse
// it. They throw std::invalid_argument on anything a correct writer never produces.
namespace clitest {

// Reads one column field back: \t \r \n \\ and \xhh escapes; raw TAB, CR, LF and
// other control characters are errors, and so is invalid UTF-8.
std::u16string readColumnField(std::string_view field);

// Reads one JSON string, quotes included, back; raw control characters (DEL and C1
// included) are errors.
std::u16string readJsonString(std::string_view json);

} // namespace clitest
