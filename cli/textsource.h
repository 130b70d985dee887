// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "cli/bytestream.h"
#include "unicode/utf16.h"

namespace cli {

// An input handed on as UTF-8, in whichever of the encodings Windows and editors save
// text it came. Its first bytes tell the encoding, once: a UTF-8 byte-order mark is
// dropped and the rest passes as it is; after a UTF-16 byte-order mark (either byte
// order) the rest is turned into UTF-8 block by block, in bounded memory; anything
// else is UTF-8 from its first byte on. A read hands on what one read of the input
// gave, so lines from a pipe are not held up.
class TextSource final : public ByteSource {
public:
    explicit TextSource(ByteSource& input);

    std::size_t read(char* buffer, std::size_t size) override;

private:
    // Reads the first bytes, as many as it takes to tell a byte-order mark.
    std::size_t readFirst(char* buffer, std::size_t size);
    std::size_t handOut(char* buffer, std::size_t size);

    ByteSource& input_;
    bool started_ = false;                      // the first bytes have been read
    std::optional<unicode::Utf16ToUtf8> utf16_; // set when the input is UTF-16
    std::string pending_;                       // UTF-8 bytes read but not yet handed on
    std::size_t pendingBegin_ = 0;
    std::vector<char> block_; // UTF-16 bytes as read
    bool atEnd_ = false;
};

} // namespace cli
