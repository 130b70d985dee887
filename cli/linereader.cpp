// SPDX-License-Identifier: MIT
#include "cli/linereader.h"

#include <cstring>

namespace cli {

namespace {

std::string_view withoutTrailingCr(std::string_view line)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

} // namespace

LineReader::LineReader(ByteSource& source, std::size_t blockSize)
    : source_(source)
    , buffer_(blockSize > 0 ? blockSize : 1)
{
}

bool LineReader::next(std::string_view& line)
{
    for (;;) {
        const char* const start = buffer_.data() + begin_;
        const std::size_t unread = end_ - begin_;
        if (const void* lf = std::memchr(start + scanned_, '\n', unread - scanned_)) {
            const auto length = static_cast<std::size_t>(static_cast<const char*>(lf) - start);
            line = withoutTrailingCr(std::string_view(start, length));
            begin_ += length + 1;
            scanned_ = 0;
            return true;
        }
        scanned_ = unread;
        if (!atEnd_ && refill())
            continue;
        // The end of the input: what is left is the last line. (refill may have moved
        // it, so it is looked up afresh.)
        atEnd_ = true;
        if (unread == 0)
            return false;
        line = withoutTrailingCr(std::string_view(buffer_.data() + begin_, unread));
        begin_ = end_;
        scanned_ = 0;
        return true;
    }
}

bool LineReader::refill()
{
    // Move the unread part of a line to the front; grow only when it fills the buffer.
    const std::size_t unread = end_ - begin_;
    if (begin_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + begin_, unread);
        begin_ = 0;
        end_ = unread;
    }
    if (end_ == buffer_.size())
        buffer_.resize(buffer_.size() * 2);
    const std::size_t count = source_.read(buffer_.data() + end_, buffer_.size() - end_);
    end_ += count;
    return count > 0;
}

} // namespace cli
