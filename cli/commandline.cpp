// SPDX-License-Identifier: MIT
#include "cli/commandline.h"

#include "cli/programname.h"
#include "cli/scanlogdecoder.h"
#include "tarnix_version.h"

namespace cli {

CommandLine parseCommandLine(std::span<const std::string> arguments)
{
    CommandLine commandLine;
    bool optionsEnded = false;
    for (const std::string& argument : arguments) {
        if (optionsEnded || argument == kStandardInputName || argument.empty() || argument[0] != '-') {
            commandLine.inputs.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--json") {
            commandLine.format = OutputFormat::Json;
        } else if (argument == "--help" || argument == "-h") {
            commandLine.showHelp = true;
        } else if (argument == "--version") {
            commandLine.showVersion = true;
        } else {
            throw UsageError("unknown option '" + argument + "'");
        }
    }
    return commandLine;
}

std::string helpText()
{
    std::string text = "Usage: ";
    text += kProgramName;
    text += R"( [--json] [FILE...]

Decodes scan lines, as the barcode scanner types them for Tarnix, one per input
line, and prints the scanner's serial number, the barcode type and the barcode
data of each.

Reads the FILEs in order, or standard input when there is none; "-" stands for
standard input. Input is UTF-8; every byte that is not part of valid UTF-8
counts as one U+FFFD replacement character. A UTF-8 byte-order mark at the
start is dropped; an input that starts with a UTF-16 byte-order mark (LE or
BE) is read as UTF-16. A line ends at LF, with or without a CR before it.

Output, one UTF-8 line per decoded scan:
  default  serial<TAB>type<TAB>data, with \t \r \n \\ for TAB, CR, LF and
           backslash and \xhh for the other control characters (U+0000-U+001F,
           U+007F, U+0080-U+009F), so a field never spans columns or lines
  --json   {"serial":"...","type":"...","data":"..."}, one object per line,
           with JSON string escapes, control characters included

A line too short to decode (fewer than )";
    text += std::to_string(kShortestLineContent);
    text += R"( characters before its line end) is
reported on standard error with its file and line number and left out.

Options:
  --json      print JSON objects instead of columns
  -h, --help  print this help and exit
  --version   print the version and exit
  --          treat every later argument as a file

Exit status: 0 all lines decoded, 1 some lines were too short to decode,
2 wrong usage, or a file could not be read or the output not written.
)";
    return text;
}

std::string versionText()
{
    return std::string(kProgramName) + " " + TARNIX_VERSION_STRING + "\n";
}

} // namespace cli
