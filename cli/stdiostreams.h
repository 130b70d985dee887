// SPDX-License-Identifier: MIT
#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "cli/bytestream.h"

// The only place where tarnix-decode touches the C library's files and standard
// streams. Every stream is used as bytes: nothing is translated on the way.
namespace cli {

class StdioSource final : public ByteSource {
public:
    enum class Ownership { Borrowed, Owned }; // Owned: closed with the source

    explicit StdioSource(std::FILE* stream, Ownership ownership = Ownership::Borrowed);
    ~StdioSource() override;
    StdioSource(const StdioSource&) = delete;
    StdioSource& operator=(const StdioSource&) = delete;

    // Opens a file for reading as bytes; throws InputError("cannot open: <reason>").
    static std::unique_ptr<ByteSource> openFile(const std::string& path);

    // Returns what one read of the underlying file gives, so lines from a pipe arrive
    // as soon as they are written instead of after a whole block.
    std::size_t read(char* buffer, std::size_t size) override;

private:
    std::FILE* stream_;
    Ownership ownership_;
};

class StdioSink final : public ByteSink {
public:
    explicit StdioSink(std::FILE* stream);
    void write(std::string_view bytes) override;

private:
    std::FILE* stream_;
};

} // namespace cli
