// SPDX-License-Identifier: MIT
#pragma once

#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/scanrecord.h"

namespace cli {

// The name that stands for standard input among the files.
inline constexpr const char* kStandardInputName = "-";

struct CommandLine {
    OutputFormat format = OutputFormat::Columns;
    std::vector<std::string> inputs; // in order; "-" is standard input; none means "-"
    bool showHelp = false;
    bool showVersion = false;
};

// A command line the program does not understand; what() says what is wrong.
class UsageError : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

// Parses the arguments after the program name. Options may stand anywhere before "--";
// everything after "--" is a file, even when it starts with "-". Throws UsageError.
CommandLine parseCommandLine(std::span<const std::string> arguments);

// The text of --help and of --version, LF-terminated.
std::string helpText();
std::string versionText();

} // namespace cli
