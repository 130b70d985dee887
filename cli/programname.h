// SPDX-License-Identifier: MIT
#pragma once

namespace cli {

// The name the command-line decoder uses for itself in messages.
inline constexpr const char* kProgramName = "tarnix-decode";

} // namespace cli
