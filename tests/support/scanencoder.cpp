// SPDX-License-Identifier: MIT
#include "tests/support/scanencoder.h"

#include <stdexcept>

namespace testsupport {

namespace {
constexpr char16_t kSymbols[] = u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789+/";
}

std::u16string encodeBytes(const Bytes& bytes)
{
    if (bytes.size() % 3 != 0)
        throw std::invalid_argument("encodeBytes needs whole groups of three bytes");
    std::u16string symbols;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::uint32_t packed = (std::uint32_t(bytes[i] ^ 0x5A) << 16) | (std::uint32_t(bytes[i + 1] ^ 0x5A) << 8)
            | std::uint32_t(bytes[i + 2] ^ 0x5A);
        for (int shift = 18; shift >= 0; shift -= 6)
            symbols += kSymbols[(packed >> shift) & 0x3F];
    }
    return symbols;
}

std::u16string encodeScanLine(const Bytes& serial, const Bytes& type, const Bytes& data)
{
    if (serial.size() != 18 || type.size() != 3)
        throw std::invalid_argument("serial needs 18 bytes and type 3");
    return u"~" + encodeBytes(serial) + u"." + encodeBytes(type) + u"." + encodeBytes(data) + u".\r\n";
}

Bytes bytesOf(const std::string& ascii)
{
    return Bytes(ascii.begin(), ascii.end());
}

std::u16string latin1Text(const Bytes& bytes)
{
    std::u16string text;
    for (const std::uint8_t byte : bytes) {
        if (byte >= 0x80 && byte < 0xA0)
            throw std::invalid_argument("latin1Text: byte differs between code pages");
        text += static_cast<char16_t>(byte);
    }
    return text;
}

} // namespace testsupport
