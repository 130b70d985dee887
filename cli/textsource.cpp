// SPDX-License-Identifier: MIT
#include "cli/textsource.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace cli {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LittleEndianMark = "\xFF\xFE";
constexpr std::string_view kUtf16BigEndianMark = "\xFE\xFF";
constexpr std::size_t kUtf16BlockSize = std::size_t{64} << 10;

// Whether the bytes are the start of a mark, but not yet all of it.
bool beginsMark(std::string_view bytes)
{
    for (const std::string_view mark : {kUtf8Mark, kUtf16LittleEndianMark, kUtf16BigEndianMark}) {
        if (bytes.size() < mark.size() && mark.starts_with(bytes))
            return true;
    }
    return false;
}

} // namespace

TextSource::TextSource(ByteSource& input)
    : input_(input)
{
}

std::size_t TextSource::read(char* buffer, std::size_t size)
{
    if (!started_)
        return readFirst(buffer, size);
    for (;;) {
        if (pendingBegin_ < pending_.size())
            return handOut(buffer, size);
        if (!utf16_)
            return atEnd_ ? 0 : input_.read(buffer, size);
        if (atEnd_)
            return 0;
        pending_.clear();
        pendingBegin_ = 0;
        const std::size_t count = input_.read(block_.data(), block_.size());
        if (count == 0) {
            atEnd_ = true;
            utf16_->finish(pending_);
        } else {
            utf16_->append(std::string_view(block_.data(), count), pending_);
        }
    }
}

std::size_t TextSource::readFirst(char* buffer, std::size_t size)
{
    // The first read goes straight to the caller, as every later one of a UTF-8 input
    // does. More is asked for only while the bytes so far begin a mark, so a line from
    // a pipe never waits for bytes that are not needed to tell.
    started_ = true;
    char small[3]; // for a buffer too small to hold a mark
    char* const into = size >= sizeof small ? buffer : small;
    const std::size_t room = size >= sizeof small ? size : sizeof small;
    std::size_t count = 0;
    do {
        const std::size_t got = input_.read(into + count, room - count);
        if (got == 0) {
            atEnd_ = true;
            break;
        }
        count += got;
    } while (beginsMark(std::string_view(into, count)));
    std::string_view rest(into, count);
    if (rest.starts_with(kUtf8Mark)) {
        rest.remove_prefix(kUtf8Mark.size());
    } else if (rest.starts_with(kUtf16LittleEndianMark) || rest.starts_with(kUtf16BigEndianMark)) {
        utf16_.emplace(
            rest[0] == kUtf16BigEndianMark[0] ? unicode::ByteOrder::BigEndian : unicode::ByteOrder::LittleEndian);
        rest.remove_prefix(kUtf16LittleEndianMark.size());
        block_.resize(kUtf16BlockSize);
        utf16_->append(rest, pending_);
        return read(buffer, size);
    } else if (into == buffer) {
        return count;
    }
    pending_.assign(rest);
    return read(buffer, size);
}

std::size_t TextSource::handOut(char* buffer, std::size_t size)
{
    const std::size_t count = std::min(size, pending_.size() - pendingBegin_);
    std::memcpy(buffer, pending_.data() + pendingBegin_, count);
    pendingBegin_ += count;
    return count;
}

} // namespace cli
