// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

// The About box's text: the credit, the request for questions and comments, and where
// to send them, three lines joined by CR LF with no line end after the last.
std::u16string_view aboutText();
