// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/linereader.h"
#include "tests/cli/memorystreams.h"

using cli::LineReader;
using clitest::MemorySource;

namespace {

std::vector<std::string> readAll(const std::string& input, std::size_t blockSize, std::size_t chunk)
{
    MemorySource source(input, chunk);
    LineReader reader(source, blockSize);
    std::vector<std::string> lines;
    std::string_view line;
    while (reader.next(line))
        lines.emplace_back(line);
    return lines;
}

std::string shown(const std::string& text)
{
    std::string out;
    for (const char ch : text) {
        if (ch == '\r')
            out += "\\r";
        else if (ch == '\n')
            out += "\\n";
        else
            out += ch;
    }
    return out;
}

} // namespace

TEST(LineReader, SplitsAtLfAndDropsOneCrBeforeItWhateverTheBlockAndReadSizes)
{
    struct Case {
        std::string input;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"", {}},
        {"\n", {""}},
        {"\n\n", {"", ""}},
        {"one", {"one"}},   // last line without LF
        {"one\n", {"one"}}, // no empty line after the last LF
        {"one\r\ntwo\nthree", {"one", "two", "three"}},
        {"a\r\r\nb", {"a\r", "b"}}, // only one CR belongs to the line end
        {"a\rb\n", {"a\rb"}},       // a CR inside the line stays
        {"tail\r", {"tail"}},       // a CR that ends the input ends the line
        {"\r", {""}},
        {"x\r\n\r\n", {"x", ""}},
        {std::string("nul\0byte\n", 9), {std::string("nul\0byte", 8)}},
        {"0123456789abcdef0123\nshort\n0123456789abcdef01234567\r\n",
            {"0123456789abcdef0123", "short", "0123456789abcdef01234567"}},
    };
    for (const Case& c : cases) {
        for (std::size_t blockSize : {1u, 2u, 3u, 5u, 8u, 64u}) {
            for (std::size_t chunk : {std::size_t{1}, std::size_t{2}, std::size_t{7}, std::string::npos}) {
                EXPECT_EQ(readAll(c.input, blockSize, chunk), c.lines)
                    << "input \"" << shown(c.input) << "\" block " << blockSize << " chunk " << chunk;
            }
        }
    }
}

TEST(LineReader, BufferGrowsOnlyWithTheLongestLineNotWithTheInput)
{
    // 200000 lines of 45 bytes plus CR LF pass through a 64-byte buffer untouched.
    std::string input;
    for (int i = 0; i < 200000; ++i)
        input += "~scan-line-" + std::to_string(100000 + i) + std::string(28, 'q') + "\r\n";
    MemorySource source(input, 1000);
    LineReader reader(source, 64);
    std::string_view line;
    int count = 0;
    while (reader.next(line)) {
        ASSERT_EQ(line, "~scan-line-" + std::to_string(100000 + count) + std::string(28, 'q')) << "line " << count;
        ++count;
    }
    EXPECT_EQ(count, 200000);
    EXPECT_EQ(source.bytesHandedOut(), input.size());
    EXPECT_EQ(reader.bufferSize(), 64u);

    // One line far longer than the block: the buffer grows to hold it, and only so far.
    const std::string longLine(100000, 'L');
    MemorySource longSource("a\n" + longLine + "\r\nb\n", 4096);
    LineReader longReader(longSource, 64);
    std::vector<std::string> lines;
    while (longReader.next(line))
        lines.emplace_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{"a", longLine, "b"}));
    EXPECT_GE(longReader.bufferSize(), longLine.size());
    EXPECT_LE(longReader.bufferSize(), 4 * longLine.size());
}

TEST(LineReader, AFailedReadReachesTheCallerAfterTheLinesBeforeIt)
{
    MemorySource source("first\nsecond\nunfinished", 6);
    source.failAtEnd("cannot read: device gone");
    LineReader reader(source, 1024);
    std::string_view line;
    ASSERT_TRUE(reader.next(line));
    EXPECT_EQ(line, "first");
    ASSERT_TRUE(reader.next(line));
    EXPECT_EQ(line, "second");
    try {
        reader.next(line);
        ADD_FAILURE() << "the failed read was swallowed";
    } catch (const cli::InputError& error) {
        EXPECT_STREQ(error.what(), "cannot read: device gone");
    }
}
