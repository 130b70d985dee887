// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace platform {

// The program's version numbers. The third number of the four-part version is
// shown nowhere, so it is not read.
struct ProgramVersion {
    std::uint16_t major = 0;
    std::uint16_t minor = 0;
    std::uint16_t revision = 0;
};

// Read from the executable's version information where the platform has it,
// otherwise from the build.
ProgramVersion programVersion();

} // namespace platform
