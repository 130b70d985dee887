// SPDX-License-Identifier: MIT
#include "platform/evdev/scannerfilter.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <climits>
#include <string>
#include <vector>

#include "platform/uskeyboard.h"

namespace platform::evdev {

namespace {

bool nameSaysScanner(std::string_view name)
{
    std::string lower(name);
    std::ranges::transform(lower, lower.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    constexpr std::array<std::string_view, 3> kWords{"barcode", "bar code", "scanner"};
    return std::ranges::any_of(kWords, [&](std::string_view word) { return lower.find(word) != std::string::npos; });
}

bool hasLetterKeys(std::string_view keyBitmap)
{
    // The letters stand where a US keyboard has them: Linux's key codes are its scan codes.
    for (unsigned code = 0; code < kUsUnshifted.size(); ++code) {
        const char16_t c = usKeyboardCharacter(code, false);
        if (c >= u'a' && c <= u'z' && !hasKey(keyBitmap, code))
            return false;
    }
    return true;
}

} // namespace

bool hasKey(std::string_view keyBitmap, unsigned code)
{
    // The kernel writes words as wide as its unsigned long, which is this program's.
    constexpr unsigned kWordBits = sizeof(unsigned long) * CHAR_BIT;
    std::vector<std::string_view> words;
    for (std::size_t start = 0; start < keyBitmap.size();) {
        const std::size_t end = std::min(keyBitmap.find_first_of(" \n", start), keyBitmap.size());
        if (end > start)
            words.push_back(keyBitmap.substr(start, end - start));
        start = end + 1;
    }
    const unsigned index = code / kWordBits;
    if (index >= words.size())
        return false;
    const std::string_view word = words[words.size() - 1 - index];
    unsigned long bits = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), bits, 16);
    if (error != std::errc() || end != word.data() + word.size())
        return false;
    return (bits >> (code % kWordBits)) & 1u;
}

bool isBarcodeScanner(std::string_view name, std::string_view keyBitmap)
{
    return nameSaysScanner(name) && hasLetterKeys(keyBitmap);
}

} // namespace platform::evdev
