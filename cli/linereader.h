// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "cli/bytestream.h"

namespace cli {

// Splits a byte stream into lines. A line ends at LF; one CR right before the LF
// belongs to the line end too. A last line without LF is still a line, and a CR that
// ends the input is taken as its line end. Reads in blocks; the buffer grows only to
// hold the longest line, never with the length of the input.
class LineReader {
public:
    static constexpr std::size_t kDefaultBlockSize = std::size_t{1} << 20;

    explicit LineReader(ByteSource& source, std::size_t blockSize = kDefaultBlockSize);

    // The next line without its line end, valid until the next call; false at the end
    // of the input. Throws what the source throws.
    bool next(std::string_view& line);

    // Bytes held for reading: the block size, or more while a longer line needed it.
    std::size_t bufferSize() const noexcept { return buffer_.size(); }

private:
    // Reads more bytes behind the unread ones; false at the end of the input.
    bool refill();

    ByteSource& source_;
    std::vector<char> buffer_;
    std::size_t begin_ = 0;   // first unread byte
    std::size_t scanned_ = 0; // bytes from begin_ already searched for LF
    std::size_t end_ = 0;     // one past the last byte read
    bool atEnd_ = false;
};

} // namespace cli
