// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace platform {

// The asynchronous key state as Windows reports it: the top bit while the key is down,
// the lowest bit when it was pressed since the previous query.
inline constexpr std::uint16_t kKeyDownBit = 0x8000;
inline constexpr std::uint16_t kPressedSinceQueryBit = 0x0001;

inline std::int16_t keyStateBits(bool downNow, bool pressedSinceQuery)
{
    std::uint16_t bits = 0;
    if (downNow)
        bits |= kKeyDownBit;
    if (pressedSinceQuery)
        bits |= kPressedSinceQueryBit;
    return static_cast<std::int16_t>(bits);
}

} // namespace platform
