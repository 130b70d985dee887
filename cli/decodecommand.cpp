// SPDX-License-Identifier: MIT
#include "cli/decodecommand.h"

#include <new>

#include "cli/commandline.h"
#include "cli/programname.h"
#include "cli/scanlogdecoder.h"
#include "decoder/tarnixfuncs.h"

namespace cli {

namespace {

std::string message(std::string_view text)
{
    return std::string(kProgramName) + ": " + std::string(text) + "\n";
}

// Reports a failure on standard error as well as it still can.
void reportLastWords(ByteSink& standardError, std::string_view text)
{
    try {
        standardError.write(message(text));
    } catch (const OutputError&) {
        // Nowhere left to report to; the exit status still tells.
    }
}

int decodeInputs(const CommandLine& commandLine, CommandStreams& streams)
{
    tarnixFuncs::initAlphabet();
    ScanLogDecoder decoder(commandLine.format, streams.standardOutput, streams.standardError);
    std::vector<std::string> inputs = commandLine.inputs;
    if (inputs.empty())
        inputs.emplace_back(kStandardInputName);
    bool unreadable = false;
    std::size_t rejected = 0;
    for (const std::string& input : inputs) {
        try {
            if (input == kStandardInputName) {
                rejected += decoder.decode(streams.standardInput, kStandardInputLabel);
            } else {
                const std::unique_ptr<ByteSource> file = streams.openFile(input);
                rejected += decoder.decode(*file, input);
            }
        } catch (const InputError& error) {
            decoder.flush();
            streams.standardError.write(message(input + ": " + error.what()));
            unreadable = true;
        }
    }
    decoder.flush();
    if (unreadable)
        return kExitTrouble;
    return rejected > 0 ? kExitLinesRejected : kExitSuccess;
}

int runChecked(std::span<const std::string> arguments, CommandStreams& streams)
{
    CommandLine commandLine;
    try {
        commandLine = parseCommandLine(arguments);
    } catch (const UsageError& error) {
        streams.standardError.write(
            message(error.what()) + "Try '" + kProgramName + " --help' for more information.\n");
        return kExitTrouble;
    }
    if (commandLine.showHelp) {
        streams.standardOutput.write(helpText());
        return kExitSuccess;
    }
    if (commandLine.showVersion) {
        streams.standardOutput.write(versionText());
        return kExitSuccess;
    }
    return decodeInputs(commandLine, streams);
}

} // namespace

int runDecodeCommand(std::span<const std::string> arguments, CommandStreams& streams)
{
    try {
        return runChecked(arguments, streams);
    } catch (const OutputError& error) {
        reportLastWords(streams.standardError, std::string("cannot write the output: ") + error.what());
    } catch (const std::bad_alloc&) {
        reportLastWords(streams.standardError, "out of memory (is there a line of gigabytes?)");
    }
    return kExitTrouble;
}

} // namespace cli
