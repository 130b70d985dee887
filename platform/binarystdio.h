// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdio>

namespace platform {

// Switches standard input and output to binary mode, so that bytes pass through
// unchanged: no CR LF translation and no end of input at a Ctrl+Z byte, as the C
// runtime's text mode does on Windows. Elsewhere streams are binary already.
// Call before the first read or write.
void setBinaryStdio();

// One read of the stream's file descriptor: returns as soon as some bytes are there
// (a pipe's bytes as they arrive), 0 at the end, -1 with errno set on failure.
// Bypasses the stream's own buffer, so use nothing else to read that stream.
std::ptrdiff_t readAvailable(std::FILE* stream, char* buffer, std::size_t size);

} // namespace platform
