// SPDX-License-Identifier: MIT
#include "cli/stdiostreams.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/binarystdio.h"

namespace cli {

namespace {

constexpr std::size_t kLargestRead = std::size_t{1} << 30;

std::string reasonOf(int errorNumber)
{
    return std::strerror(errorNumber);
}

} // namespace

StdioSource::StdioSource(std::FILE* stream, Ownership ownership)
    : stream_(stream)
    , ownership_(ownership)
{
}

StdioSource::~StdioSource()
{
    if (ownership_ == Ownership::Owned)
        std::fclose(stream_);
}

std::unique_ptr<ByteSource> StdioSource::openFile(const std::string& path)
{
    std::FILE* stream = std::fopen(path.c_str(), "rb");
    if (!stream)
        throw InputError("cannot open: " + reasonOf(errno));
    return std::make_unique<StdioSource>(stream, Ownership::Owned);
}

std::size_t StdioSource::read(char* buffer, std::size_t size)
{
    // One read of the descriptor rather than fread(), which would wait until the
    // whole block is filled. The stream's own buffer is never used, so they agree.
    // One read stays below 1 GiB, which every platform accepts.
    size = std::min(size, kLargestRead);
    for (;;) {
        const auto count = platform::readAvailable(stream_, buffer, size);
        if (count >= 0)
            return static_cast<std::size_t>(count);
        if (errno != EINTR)
            throw InputError("cannot read: " + reasonOf(errno));
    }
}

StdioSink::StdioSink(std::FILE* stream)
    : stream_(stream)
{
}

void StdioSink::write(std::string_view bytes)
{
    if (bytes.empty())
        return;
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), stream_) != bytes.size() || std::fflush(stream_) != 0)
        throw OutputError(errno != 0 ? reasonOf(errno) : std::string("write failed"));
}

} // namespace cli
