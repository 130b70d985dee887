// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <memory>
#include <span>
#include <string>

#include "cli/bytestream.h"

namespace cli {

inline constexpr int kExitSuccess = 0;       // every line decoded
inline constexpr int kExitLinesRejected = 1; // some line too short to decode
inline constexpr int kExitTrouble = 2;       // usage error, unreadable file, failed output

// The name of standard input in messages.
inline constexpr const char* kStandardInputLabel = "<stdin>";

// Opens a file for reading or throws InputError with the reason.
using FileOpener = std::function<std::unique_ptr<ByteSource>(const std::string& path)>;

struct CommandStreams {
    ByteSource& standardInput;
    ByteSink& standardOutput;
    ByteSink& standardError;
    FileOpener openFile;
};

// Runs tarnix-decode with the arguments after the program name and returns its exit
// status. A file that cannot be opened or read is reported and skipped; the others
// are still decoded.
int runDecodeCommand(std::span<const std::string> arguments, CommandStreams& streams);

} // namespace cli
