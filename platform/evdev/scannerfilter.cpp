// SPDX-License-Identifier: MIT
#include "platform/evdev/scannerfilter.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <climits>
#include <string>

namespace platform::evdev {

namespace {

bool nameSaysScanner(std::string_view name)
{
    std::string lower(name);
    std::ranges::transform(lower, lower.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    constexpr std::array<std::string_view, 3> kWords{"barcode", "bar code", "scanner"};
    return std::ranges::any_of(kWords, [&](std::string_view word) { return lower.find(word) != std::string::npos; });
}

} // namespace

bool isBarcodeScanner(std::string_view name, const KeyBits& keys)
{
    // udev's test: the first word of key bits, all but KEY_RESERVED.
    for (unsigned code = 1; code < 32; ++code) {
        if (!keys.test(code))
            return false;
    }
    return nameSaysScanner(name);
}

std::optional<KeyBits> keyBitsFromSysfs(std::string_view bitmap)
{
    // The kernel writes words as wide as its unsigned long, which is this program's.
    constexpr std::size_t kWordBits = sizeof(unsigned long) * CHAR_BIT;
    KeyBits keys;
    std::size_t word = 0; // counted from the last, the least significant
    for (std::size_t end = bitmap.find_last_not_of(" \n"); end != std::string_view::npos;) {
        const std::size_t space = bitmap.find_last_of(" \n", end);
        const std::size_t start = space == std::string_view::npos ? 0 : space + 1;
        unsigned long bits = 0;
        const auto [stop, error] = std::from_chars(bitmap.data() + start, bitmap.data() + end + 1, bits, 16);
        if (error != std::errc() || stop != bitmap.data() + end + 1)
            return std::nullopt;
        for (std::size_t bit = 0; bit < kWordBits && word * kWordBits + bit < keys.size(); ++bit)
            keys.set(word * kWordBits + bit, (bits >> bit) & 1u);
        ++word;
        end = space == std::string_view::npos ? space : bitmap.find_last_not_of(" \n", space);
    }
    return keys;
}

KeyBits keyBitsFromBytes(const unsigned char* bytes, std::size_t size)
{
    KeyBits keys;
    for (std::size_t code = 0; code < keys.size() && code / 8 < size; ++code)
        keys.set(code, (bytes[code / 8] >> (code % 8)) & 1u);
    return keys;
}

} // namespace platform::evdev
