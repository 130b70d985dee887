// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "cli/bytestream.h"

// In-memory stand-ins for files, pipes and the standard streams.
namespace clitest {

// Hands out its bytes at most chunk bytes per read, as a pipe would; optionally fails
// with InputError once everything is handed out instead of reporting the end.
class MemorySource : public cli::ByteSource {
public:
    explicit MemorySource(std::string bytes, std::size_t chunk = std::string::npos)
        : bytes_(std::move(bytes))
        , chunk_(chunk)
    {
    }

    void failAtEnd(std::string reason) { failure_ = std::move(reason); }

    std::size_t read(char* buffer, std::size_t size) override
    {
        ++reads_;
        const std::size_t count = std::min({size, chunk_, bytes_.size() - offset_});
        if (count == 0 && !failure_.empty())
            throw cli::InputError(failure_);
        std::memcpy(buffer, bytes_.data() + offset_, count);
        offset_ += count;
        return count;
    }

    std::size_t bytesHandedOut() const { return offset_; }
    int reads() const { return reads_; }

private:
    std::string bytes_;
    std::size_t chunk_;
    std::size_t offset_ = 0;
    int reads_ = 0;
    std::string failure_;
};

// Keeps everything written, and each write on its own.
class MemorySink : public cli::ByteSink {
public:
    void write(std::string_view bytes) override
    {
        writes.emplace_back(bytes);
        text.append(bytes);
    }

    std::string text;
    std::vector<std::string> writes;
};

} // namespace clitest
