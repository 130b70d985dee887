// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace unicode {

enum class ByteOrder { LittleEndian, BigEndian };

// Turns UTF-16 bytes into UTF-8 piece by piece, as they are read: a code unit or a
// surrogate pair split between two pieces is held back until the next one. A
// surrogate without its partner becomes U+FFFD, as does a lone byte at the end.
class Utf16ToUtf8 {
public:
    explicit Utf16ToUtf8(ByteOrder order)
        : bigEndian_(order == ByteOrder::BigEndian)
    {
    }

    // Appends the UTF-8 form of the next piece of the input to out.
    void append(std::string_view bytes, std::string& out);

    // Appends what is still held back once the input has ended.
    void finish(std::string& out);

private:
    char* put(char16_t unit, char* out);

    bool bigEndian_;
    int heldByte_ = -1;     // the first byte of a code unit, or -1
    char16_t highUnit_ = 0; // a high surrogate waiting for its low one, or 0
};

} // namespace unicode
