// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/cli/memorystreams.h"
#include "tests/support/scanencoder.h"
#include "cli/scanlogdecoder.h"
#include "decoder/tarnixfuncs.h"

using cli::OutputFormat;
using cli::ScanLogDecoder;
using clitest::MemorySink;
using clitest::MemorySource;
using testsupport::bytesOf;
using testsupport::encodeScanLine;

namespace {

class ScanLog : public ::testing::Test {
protected:
    void SetUp() override { tarnixFuncs::initAlphabet(); }
};

// A scan line as the scanner types it, but without its CR LF, as UTF-8.
std::string typedLine(const std::string& serial, const std::string& type, const std::string& data)
{
    const std::u16string line = encodeScanLine(bytesOf(serial), bytesOf(type), bytesOf(data));
    std::string bytes(line.begin(), line.end() - 2); // every symbol and separator is ASCII
    return bytes;
}

struct Decoded {
    std::string output;
    std::string messages;
    std::size_t rejected;
};

Decoded decodeAll(const std::string& input, OutputFormat format = OutputFormat::Columns)
{
    MemorySink output;
    MemorySink messages;
    MemorySource source(input);
    ScanLogDecoder decoder(format, output, messages);
    const std::size_t rejected = decoder.decode(source, "scans.log");
    decoder.flush();
    return {output.text, messages.text, rejected};
}

const std::string kSerial = "SN-000123456789ABC";

std::string utf16Bytes(std::u16string_view text, bool bigEndian)
{
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t unit : text)
        bytes += bigEndian ? std::string{char(unit >> 8), char(unit)} : std::string{char(unit), char(unit >> 8)};
    return bytes;
}

// Two scans and between them a short line of U+0A0D (CR LF as UTF-16 LE bytes, LF CR
// as BE), a surrogate pair and "x", the last line without its line end.
const std::string kScanOne = typedLine(kSerial, "E28", "1Z9");
const std::string kScanTwo = typedLine("SERIAL000000000001", "EAN", "4006381333931XY");
const std::u16string kMixedLog = std::u16string(kScanOne.begin(), kScanOne.end()) + u"\r\n\u0A0D\U0001F600x\n"
    + std::u16string(kScanTwo.begin(), kScanTwo.end());

// Reads the log in pieces from one byte up, which split its mark, code units and
// surrogate pair, and expects what the same text in plain UTF-8 gives.
void expectMixedLogDecoded(const std::string& log, const char* encoding)
{
    for (const std::size_t chunk : {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::string::npos}) {
        for (const std::size_t blockSize : {std::size_t{1}, std::size_t{5}, cli::LineReader::kDefaultBlockSize}) {
            MemorySink output;
            MemorySink messages;
            MemorySource source(log, chunk);
            ScanLogDecoder decoder(OutputFormat::Columns, output, messages, blockSize);
            const std::size_t rejected = decoder.decode(source, "scans.log");
            decoder.flush();
            const std::string where
                = std::string(encoding) + ", chunk " + std::to_string(chunk) + ", block " + std::to_string(blockSize);
            EXPECT_EQ(output.text, kSerial + "\tE28\t1Z9\nSERIAL000000000001\tEAN\t4006381333931XY\n") << where;
            EXPECT_EQ(messages.text, cli::tooShortMessage("scans.log", 2, 4)) << where;
            EXPECT_EQ(rejected, 1u) << where;
        }
    }
}

} // namespace

TEST_F(ScanLog, EachLineIsDecodedWithItsCrLfRestoredWhateverItsOwnLineEnd)
{
    // One group of data: were the CR LF not put back, the cut would eat into the data
    // symbols and leave nothing of it.
    const std::string one = typedLine(kSerial, "E28", "1Z9");
    const std::string two = typedLine("SERIAL000000000001", "EAN", "4006381333931XY");
    const std::string expected = kSerial + "\tE28\t1Z9\nSERIAL000000000001\tEAN\t4006381333931XY\n";
    for (const std::string& input :
        {one + "\n" + two + "\n", one + "\r\n" + two + "\r\n", one + "\r\n" + two, one + "\n" + two + "\r"}) {
        const Decoded decoded = decodeAll(input);
        EXPECT_EQ(decoded.output, expected) << "input " << input;
        EXPECT_EQ(decoded.messages, "") << "input " << input;
        EXPECT_EQ(decoded.rejected, 0u) << "input " << input;
    }
    EXPECT_EQ(decodeAll(one + "\n", OutputFormat::Json).output,
        "{\"serial\":\"" + kSerial + "\",\"type\":\"E28\",\"data\":\"1Z9\"}\n");
}

TEST_F(ScanLog, ShortLinesAreReportedWithNameNumberAndLengthAndSkipped)
{
    const std::string good = typedLine(kSerial, "E28", "ABC");
    const std::string shortest = std::string(32, 'a'); // + CR LF = 34: decodes, empty data
    const std::string tooShort = std::string(31, 'a');
    const Decoded decoded = decodeAll(good + "\n\n" + tooShort + "\r\n" + shortest + "\nx\n" + good);
    EXPECT_EQ(decoded.rejected, 3u);
    EXPECT_EQ(decoded.messages,
        "tarnix-decode: scans.log:2: line too short to decode (0 characters; a scan line needs at least 32 before its "
        "line end)\n"
        "tarnix-decode: scans.log:3: line too short to decode (31 characters; a scan line needs at least 32 before its "
        "line end)\n"
        "tarnix-decode: scans.log:5: line too short to decode (1 character; a scan line needs at least 32 before its "
        "line end)\n");
    // 32 times "a" (slot 0): every group is 0, every byte the mask 0x5A, "Z".
    const std::string goodRecord = kSerial + "\tE28\tABC\n";
    EXPECT_EQ(decoded.output, goodRecord + std::string(18, 'Z') + "\tZZZ\t\n" + goodRecord);
}

TEST_F(ScanLog, EachInvalidUtf8ByteCountsAsOneCharacterOfTheLine)
{
    // In place of the lead character one bad byte keeps the layout; two bad bytes
    // (an overlong form, not one character) push every field one place on.
    const std::string line = typedLine(kSerial, "E28", "1Z9");
    const std::string body = line.substr(1);
    const Decoded oneBad = decodeAll("\xFF" + body + "\n");
    EXPECT_EQ(oneBad.output, kSerial + "\tE28\t1Z9\n");

    // Shifted one place: the serial field holds a U+FFFD (dropped) and 23 of its 24
    // symbols, five whole groups, its first 15 bytes; the type field the separator and
    // three symbols, no whole group; the data field the separator and all its symbols.
    const Decoded twoBad = decodeAll("\xC0\xAF" + body + "\n");
    EXPECT_EQ(twoBad.output, "SN-000123456789\t\t1Z9\n");

    // The length in a message counts characters, not bytes.
    const Decoded accented = decodeAll("\xC3\xA9\xC3\xA9\xE2\x82\xAC\xFF\n");
    EXPECT_NE(accented.messages.find("(4 characters;"), std::string::npos) << accented.messages;
}

TEST_F(ScanLog, RecordsAndMessagesKeepTheirOrderOnASharedStream)
{
    const std::string good = typedLine(kSerial, "E28", "ABC");
    MemorySink terminal;
    MemorySource source(good + "\nshort\n" + good + "\n");
    ScanLogDecoder decoder(OutputFormat::Columns, terminal, terminal);
    decoder.decode(source, "<stdin>");
    decoder.flush();
    EXPECT_EQ(terminal.text,
        kSerial
            + "\tE28\tABC\n"
              "tarnix-decode: <stdin>:2: line too short to decode (5 characters; a scan line needs at least 32 before "
              "its line end)\n"
            + kSerial + "\tE28\tABC\n");
}

TEST_F(ScanLog, RecordsAreHandedOnBeforeWaitingForMoreInput)
{
    // A pipe that hands over one line per read: by the time the decoder asks for the
    // next line, the record of the one before must be out.
    class WatchedSource : public MemorySource {
    public:
        WatchedSource(std::string bytes, std::size_t chunk, const MemorySink& output)
            : MemorySource(std::move(bytes), chunk)
            , output_(output)
        {
        }
        std::size_t read(char* buffer, std::size_t size) override
        {
            recordsBeforeRead.push_back(std::count(output_.text.begin(), output_.text.end(), '\n'));
            return MemorySource::read(buffer, size);
        }
        std::vector<long> recordsBeforeRead;

    private:
        const MemorySink& output_;
    };
    const std::string line = typedLine(kSerial, "E28", "ABC") + "\n";
    MemorySink output;
    MemorySink messages;
    WatchedSource source(line + line + line, line.size(), output);
    ScanLogDecoder decoder(OutputFormat::Columns, output, messages);
    decoder.decode(source, "<stdin>");
    EXPECT_EQ(source.recordsBeforeRead, (std::vector<long>{0, 1, 2, 3}));
}

TEST_F(ScanLog, OutputIsWrittenInBoundedPiecesWhateverTheInputSize)
{
    // Eight megabytes of lines arriving in one read must not pile up in memory.
    const std::string line = typedLine(kSerial, "E28", "1Z999AA10123456784") + "\r\n";
    std::string input;
    while (input.size() < (8u << 20))
        input += line;
    MemorySink output;
    MemorySink messages;
    MemorySource source(input);
    ScanLogDecoder decoder(OutputFormat::Json, output, messages, input.size() + 1);
    decoder.decode(source, "big.log");
    decoder.flush();
    EXPECT_GT(output.writes.size(), 4u);
    for (const std::string& piece : output.writes)
        EXPECT_LE(piece.size(), ScanLogDecoder::kOutputBufferSize + 200);
    const std::string record = "{\"serial\":\"" + kSerial + "\",\"type\":\"E28\",\"data\":\"1Z999AA10123456784\"}\n";
    std::string expected;
    for (std::size_t i = 0; i < input.size() / line.size(); ++i)
        expected += record;
    EXPECT_TRUE(output.text == expected) << "the records differ from " << input.size() / line.size() << " copies of "
                                         << record;
}

TEST_F(ScanLog, AFailingInputKeepsTheRecordsOfTheLinesBeforeIt)
{
    const std::string line = typedLine(kSerial, "E28", "ABC") + "\n";
    MemorySink output;
    MemorySink messages;
    MemorySource source(line + line, 7);
    source.failAtEnd("cannot read: Input/output error");
    ScanLogDecoder decoder(OutputFormat::Columns, output, messages);
    EXPECT_THROW(decoder.decode(source, "disk.log"), cli::InputError);
    decoder.flush();
    EXPECT_EQ(output.text, kSerial + "\tE28\tABC\n" + kSerial + "\tE28\tABC\n");
}

TEST_F(ScanLog, AUtf8ByteOrderMarkIsNotPartOfTheFirstLine)
{
    expectMixedLogDecoded("\xEF\xBB\xBF" + kScanOne + "\r\n\xE0\xA8\x8D\xF0\x9F\x98\x80x\n" + kScanTwo, "UTF-8");
}

TEST_F(ScanLog, Utf16LittleEndianDecodesAsTheSameTextInUtf8)
{
    expectMixedLogDecoded(utf16Bytes(kMixedLog, false), "UTF-16 LE");

    // A high surrogate in place of the lead character is one U+FFFD and keeps the
    // layout; an odd byte that ends the input is a line of one U+FFFD.
    std::u16string lone(kScanOne.begin(), kScanOne.end());
    lone[0] = 0xD800;
    const Decoded decoded = decodeAll(utf16Bytes(lone + u"\n", false) + "Z");
    EXPECT_EQ(decoded.output, kSerial + "\tE28\t1Z9\n");
    EXPECT_EQ(decoded.messages, cli::tooShortMessage("scans.log", 2, 1));
}

TEST_F(ScanLog, Utf16BigEndianDecodesAsTheSameTextInUtf8)
{
    expectMixedLogDecoded(utf16Bytes(kMixedLog, true), "UTF-16 BE");
}
