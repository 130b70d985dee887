// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Builds scan lines the way the scanner does, so the decoder can be tested on lines
// made from known fields.
namespace testsupport {

using Bytes = std::vector<std::uint8_t>;

// Four symbols for three bytes: each byte masked with 0x5A, the 24 bits cut into
// four 6-bit slots, most significant first.
std::u16string encodeBytes(const Bytes& bytes);

// A whole scan line: lead, 24 serial symbols, separator, 4 type symbols, separator,
// the data symbols, closing separator, CR LF. serial must be 18 bytes, type 3, data a
// multiple of 3.
std::u16string encodeScanLine(const Bytes& serial, const Bytes& type, const Bytes& data);

Bytes bytesOf(const std::string& ascii);
std::u16string latin1Text(const Bytes& bytes); // bytes 0..127 and 0xA0..0xFF only

} // namespace testsupport
