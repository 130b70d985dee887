// SPDX-License-Identifier: MIT
// tarnix-decode: decodes scan lines from files or standard input.
#include <cstdio>
#include <string>
#include <vector>

#include "platform/binarystdio.h"
#include "cli/decodecommand.h"
#include "cli/stdiostreams.h"

int main(int argc, char** argv)
{
    platform::setBinaryStdio(); // scan lines and results pass as bytes, CR LF untouched
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    cli::StdioSource standardInput(stdin);
    cli::StdioSink standardOutput(stdout);
    cli::StdioSink standardError(stderr);
    cli::CommandStreams streams{standardInput, standardOutput, standardError, &cli::StdioSource::openFile};
    return cli::runDecodeCommand(arguments, streams);
}
