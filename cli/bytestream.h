// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

// Where tarnix-decode reads its bytes from and writes them to. The command and its
// line handling only see these interfaces, so they run unchanged on files, standard
// streams and memory.
namespace cli {

// An input that could not be opened or read; what() is the reason, without the name.
class InputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An output that could not be written; what() is the reason.
class OutputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Reads up to size bytes into buffer and returns how many it read; 0 only at the
    // end of the input. May return fewer bytes than asked for without being at the end
    // (a pipe hands over what it has). Throws InputError.
    virtual std::size_t read(char* buffer, std::size_t size) = 0;
};

class ByteSink {
public:
    virtual ~ByteSink() = default;
    // Writes all of bytes and hands them on at once (no buffering of its own). Throws
    // OutputError.
    virtual void write(std::string_view bytes) = 0;
};

} // namespace cli
