// SPDX-License-Identifier: MIT
#include "unicode/utf16.h"

#include "unicode/utf8.h"

namespace unicode {

namespace {

bool isHighSurrogate(char16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(char16_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

} // namespace

char* Utf16ToUtf8::put(char16_t unit, char* out)
{
    if (highUnit_ != 0) {
        const char16_t high = highUnit_;
        highUnit_ = 0;
        if (isLowSurrogate(unit))
            return writeUtf8(0x10000 + ((static_cast<char32_t>(high) - 0xD800) << 10) + (unit - 0xDC00), out);
        out = writeUtf8(kReplacementCharacter, out);
    }
    if (isHighSurrogate(unit)) {
        highUnit_ = unit;
        return out;
    }
    return writeUtf8(isLowSurrogate(unit) ? kReplacementCharacter : unit, out);
}

void Utf16ToUtf8::append(std::string_view bytes, std::string& out)
{
    // A code unit gives at most three bytes; a surrogate held from the piece before
    // may add three more for its U+FFFD.
    const std::size_t start = out.size();
    out.resize(start + (bytes.size() + 1) / 2 * 3 + 3);
    char* dst = out.data() + start;
    const auto* src = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = src + bytes.size();
    const auto unitOf = [this](unsigned first, unsigned second) {
        return static_cast<char16_t>(bigEndian_ ? (first << 8) | second : (second << 8) | first);
    };
    if (heldByte_ >= 0 && src != end) {
        dst = put(unitOf(static_cast<unsigned>(heldByte_), *src++), dst);
        heldByte_ = -1;
    }
    for (; end - src >= 2; src += 2)
        dst = put(unitOf(src[0], src[1]), dst);
    if (src != end)
        heldByte_ = *src;
    out.resize(static_cast<std::size_t>(dst - out.data()));
}

void Utf16ToUtf8::finish(std::string& out)
{
    if (highUnit_ != 0)
        appendUtf8(kReplacementCharacter, out);
    if (heldByte_ >= 0)
        appendUtf8(kReplacementCharacter, out);
    highUnit_ = 0;
    heldByte_ = -1;
}

} // namespace unicode
