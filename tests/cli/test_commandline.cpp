// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/commandline.h"
#include "tarnix_version.h"

using cli::CommandLine;
using cli::OutputFormat;
using cli::parseCommandLine;

namespace {

CommandLine parse(std::vector<std::string> arguments)
{
    return parseCommandLine(arguments);
}

std::string joined(const std::vector<std::string>& arguments)
{
    std::string out;
    for (const std::string& argument : arguments)
        out += "[" + argument + "]";
    return out;
}

} // namespace

TEST(CommandLine, FilesKeepTheirOrderAndOptionsMayStandAnywhereBeforeDoubleDash)
{
    const CommandLine plain = parse({});
    EXPECT_EQ(plain.format, OutputFormat::Columns);
    EXPECT_TRUE(plain.inputs.empty());
    EXPECT_FALSE(plain.showHelp);
    EXPECT_FALSE(plain.showVersion);

    const CommandLine mixed = parse({"b.log", "--json", "-", "a.log"});
    EXPECT_EQ(mixed.format, OutputFormat::Json);
    EXPECT_EQ(mixed.inputs, (std::vector<std::string>{"b.log", "-", "a.log"}));

    const CommandLine dashed = parse({"--", "--json", "-x", "-"});
    EXPECT_EQ(dashed.format, OutputFormat::Columns) << "--json after -- is a file";
    EXPECT_EQ(dashed.inputs, (std::vector<std::string>{"--json", "-x", "-"}));

    EXPECT_TRUE(parse({"a", "--help"}).showHelp);
    EXPECT_TRUE(parse({"-h"}).showHelp);
    EXPECT_TRUE(parse({"--version"}).showVersion);
}

TEST(CommandLine, UnknownOptionsAreUsageErrorsThatNameTheOption)
{
    for (const std::vector<std::string>& arguments :
        {std::vector<std::string>{"--jsn"}, {"a.log", "-j"}, {"--JSON"}, {"--json=1"}, {"---"}}) {
        try {
            parse(arguments);
            ADD_FAILURE() << "input " << joined(arguments) << " was accepted";
        } catch (const cli::UsageError& error) {
            const std::string bad = arguments.back();
            EXPECT_EQ(std::string(error.what()), "unknown option '" + bad + "'") << "input " << joined(arguments);
        }
    }
}

TEST(CommandLine, HelpDescribesTheFormatsAndExitStatusAndVersionNamesTheProgram)
{
    const std::string help = cli::helpText();
    EXPECT_EQ(help.rfind("Usage: tarnix-decode [--json] [FILE...]\n", 0), 0u) << help;
    for (const char* needed : {"--json", "--help", "--version", "U+FFFD", "serial<TAB>type<TAB>data", "\\xhh",
             "Exit status", "32 characters"})
        EXPECT_NE(help.find(needed), std::string::npos) << "help lacks " << needed;
    EXPECT_EQ(cli::versionText(), "tarnix-decode " TARNIX_VERSION_STRING "\n");
}
