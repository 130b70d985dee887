// SPDX-License-Identifier: MIT
#include "unicode/utf8.h"

#include <cstdint>
#include <cstring>

namespace unicode {

namespace {

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// Decodes the multi-byte sequence that starts at src, or returns -1 when the lead
// byte cannot start one or the bytes up to end do not complete it. The bounds of the
// second byte rule out overlong forms, surrogates and values beyond U+10FFFF.
long decodeSequence(const unsigned char* src, const unsigned char* end, int& length)
{
    const unsigned char lead = src[0];
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    char32_t value = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0F;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return -1;
    }
    if (end - src < length || src[1] < low || src[1] > high)
        return -1;
    for (int i = 1; i < length; ++i) {
        if (!isContinuation(src[i]))
            return -1;
        value = (value << 6) | (src[i] & 0x3F);
    }
    return static_cast<long>(value);
}

} // namespace

void appendUtf8AsUtf16(std::string_view bytes, std::u16string& out)
{
    // Every byte gives at most one UTF-16 unit (a four-byte sequence gives two), so the
    // result fits in as many units as there are bytes.
    const std::size_t start = out.size();
    out.resize(start + bytes.size());
    char16_t* dst = out.data() + start;
    const auto* src = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = src + bytes.size();
    constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
    while (src != end) {
        // Scan logs are almost all ASCII: widen eight bytes at a time while none has
        // its high bit set.
        while (end - src >= 8) {
            std::uint64_t word;
            std::memcpy(&word, src, sizeof word);
            if (word & kHighBits)
                break;
            for (int i = 0; i < 8; ++i)
                dst[i] = src[i];
            src += 8;
            dst += 8;
        }
        if (src == end)
            break;
        if (*src < 0x80) {
            *dst++ = *src++;
            continue;
        }
        int length = 0;
        const long value = decodeSequence(src, end, length);
        if (value < 0) {
            *dst++ = kReplacementCharacter;
            ++src;
        } else if (value < 0x10000) {
            *dst++ = static_cast<char16_t>(value);
            src += length;
        } else {
            const long offset = value - 0x10000;
            *dst++ = static_cast<char16_t>(0xD800 + (offset >> 10));
            *dst++ = static_cast<char16_t>(0xDC00 + (offset & 0x3FF));
            src += length;
        }
    }
    out.resize(static_cast<std::size_t>(dst - out.data()));
}

char* writeUtf8(char32_t codePoint, char* out)
{
    if (codePoint < 0x80) {
        *out++ = static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        *out++ = static_cast<char>(0xC0 | (codePoint >> 6));
        *out++ = static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        *out++ = static_cast<char>(0xE0 | (codePoint >> 12));
        *out++ = static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        *out++ = static_cast<char>(0xF0 | (codePoint >> 18));
        *out++ = static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        *out++ = static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (codePoint & 0x3F));
    }
    return out;
}

void appendUtf8(char32_t codePoint, std::string& out)
{
    char bytes[4];
    out.append(bytes, writeUtf8(codePoint, bytes));
}

char32_t nextCodePoint(std::u16string_view text, std::size_t& index)
{
    const char16_t unit = text[index++];
    if (unit < 0xD800 || unit > 0xDFFF)
        return unit;
    if (unit <= 0xDBFF && index < text.size() && text[index] >= 0xDC00 && text[index] <= 0xDFFF) {
        const char16_t low = text[index++];
        return 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (low - 0xDC00);
    }
    return kReplacementCharacter;
}

} // namespace unicode
