// SPDX-License-Identifier: MIT
// Runs the built tarnix-decode on files and standard input and checks what it prints
// and how it exits.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "tests/cli/fieldreaders.h"
#include "tests/support/scanencoder.h"
#include "tarnix_version.h"

namespace fs = std::filesystem;
using testsupport::Bytes;
using testsupport::bytesOf;
using testsupport::encodeScanLine;

namespace {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class TarnixDecode : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::random_device seed;
        dir_ = fs::temp_directory_path() / ("tarnix-decode-test-" + std::to_string(seed()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path file(const std::string& name, const std::string& content)
    {
        const fs::path path = dir_ / name;
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }

    // Runs the program with the arguments (each quoted for the shell) and stdin, its
    // standard output going to a file read back, or to output when one is named.
    Outcome run(const std::vector<std::string>& arguments, const std::string& input = "", std::string output = "")
    {
        std::string command = "'" TARNIX_DECODE_PROGRAM "'";
        for (const std::string& argument : arguments)
            command += " '" + argument + "'";
        const fs::path in = file("stdin", input);
        if (output.empty())
            output = (dir_ / "stdout").string();
        command += " <'" + in.string() + "' >'" + output + "' 2>'" + (dir_ / "stderr").string() + "'";
        const int status = std::system(command.c_str());
        EXPECT_TRUE(WIFEXITED(status)) << "did not exit normally: " << command;
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(dir_ / "stdout"), readFile(dir_ / "stderr")};
    }

    fs::path dir_;
};

// A scan line as UTF-8 without its CR LF; all its characters are ASCII.
std::string typed(const Bytes& serial, const Bytes& type, const Bytes& data)
{
    const std::u16string line = encodeScanLine(serial, type, data);
    return std::string(line.begin(), line.end() - 2);
}

const Bytes kSerial = bytesOf("SN-000123456789ABC");
const std::string kTooShort = "line too short to decode";

} // namespace

TEST_F(TarnixDecode, DecodesFilesInOrderWithLfOrCrLfLineEnds)
{
    const std::string a = typed(kSerial, bytesOf("E28"), bytesOf("1Z999AA10123456784"));
    const std::string b = typed(bytesOf("SERIAL000000000001"), bytesOf("EAN"), bytesOf("400638133393"));
    const std::string c = typed(kSerial, bytesOf("QR1"), bytesOf(""));
    const fs::path lf = file("lf.log", a + "\n" + b + "\n");
    const fs::path crlf = file("crlf.log", a + "\r\n" + b + "\r\n" + c); // last line without line end
    const std::string ab = "SN-000123456789ABC\tE28\t1Z999AA10123456784\nSERIAL000000000001\tEAN\t400638133393\n";

    Outcome result = run({lf.string(), crlf.string()});
    EXPECT_EQ(result.out, ab + ab + "SN-000123456789ABC\tQR1\t\n");
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.status, 0);

    // Standard input, also named "-" between files.
    result = run({crlf.string(), "-", lf.string()}, b + "\r\n");
    EXPECT_EQ(result.out, ab + "SN-000123456789ABC\tQR1\t\nSERIAL000000000001\tEAN\t400638133393\n" + ab);
    EXPECT_EQ(result.status, 0);
    result = run({}, a + "\n");
    EXPECT_EQ(result.out, "SN-000123456789ABC\tE28\t1Z999AA10123456784\n");
    EXPECT_EQ(result.status, 0);
}

TEST_F(TarnixDecode, JsonGivesOneObjectPerLineWithKeysInOrder)
{
    const std::string line = typed(kSerial, bytesOf("E28"), bytesOf("say \"hi\"\\"));
    const Outcome result = run({"--json"}, line + "\r\n" + line + "\n");
    const std::string object = "{\"serial\":\"SN-000123456789ABC\",\"type\":\"E28\",\"data\":\"say \\\"hi\\\"\\\\\"}\n";
    EXPECT_EQ(result.out, object + object);
    EXPECT_EQ(result.status, 0);
}

TEST_F(TarnixDecode, FieldsWithLineBreaksTabsAndControlsStayOnTheirLineAndColumn)
{
    // Data bytes that decode to TAB, CR, LF, backslash, NUL, ESC, DEL and the C1
    // controls that Windows-1252 leaves unassigned; plus a byte that becomes a letter.
    const Bytes data = {0x09, 0x0D, 0x0A, 0x5C, 0x00, 0x1B, 0x7F, 0x81, 0x9D, 0xE9, 0x80, 0x41};
    const std::string line = typed(kSerial, bytesOf("T\tX"), data);
    const std::u16string decodedData = {u'\t', u'\r', u'\n', u'\\', 0x00, 0x1B, 0x7F, 0x81, 0x9D, 0xE9, 0x20AC, u'A'};

    Outcome result = run({}, line + "\n");
    EXPECT_EQ(result.out,
        "SN-000123456789ABC\tT\\tX\t\\t\\r\\n\\\\\\x00\\x1b\\x7f\\x81\\x9d\xC3\xA9\xE2\x82\xAC"
        "A\n");
    ASSERT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), 1);
    ASSERT_EQ(std::count(result.out.begin(), result.out.end(), '\t'), 2);
    const std::string dataColumn
        = result.out.substr(result.out.rfind('\t') + 1, result.out.size() - result.out.rfind('\t') - 2);
    EXPECT_EQ(clitest::readColumnField(dataColumn), decodedData);

    result = run({"--json"}, line + "\n");
    EXPECT_EQ(result.out,
        "{\"serial\":\"SN-000123456789ABC\",\"type\":\"T\\tX\",\"data\":"
        "\"\\t\\r\\n\\\\\\u0000\\u001b\\u007f\\u0081\\u009d\xC3\xA9\xE2\x82\xAC"
        "A\"}\n");
    const std::size_t dataAt = result.out.find("\"data\":") + 7;
    EXPECT_EQ(clitest::readJsonString(result.out.substr(dataAt, result.out.size() - dataAt - 2)), decodedData);
}

TEST_F(TarnixDecode, ShortLineIsReportedAndTheRestStillDecodedWithStatus1)
{
    const std::string good = typed(kSerial, bytesOf("E28"), bytesOf("ABC"));
    const fs::path log = file("scans.log", good + "\r\nhello world\r\n" + good + "\r\n");
    Outcome result = run({log.string()});
    EXPECT_EQ(result.out, "SN-000123456789ABC\tE28\tABC\nSN-000123456789ABC\tE28\tABC\n");
    EXPECT_EQ(result.err,
        "tarnix-decode: " + log.string() + ":2: " + kTooShort
            + " (11 characters; a scan line needs at least 32 before its line end)\n");
    EXPECT_EQ(result.status, 1);

    result = run({}, good + "\n\n" + good.substr(0, 31) + "\n");
    EXPECT_EQ(result.out, "SN-000123456789ABC\tE28\tABC\n");
    EXPECT_EQ(result.err,
        "tarnix-decode: <stdin>:2: " + kTooShort
            + " (0 characters; a scan line needs at least 32 before its line end)\n"
              "tarnix-decode: <stdin>:3: "
            + kTooShort + " (31 characters; a scan line needs at least 32 before its line end)\n");
    EXPECT_EQ(result.status, 1);
}

TEST_F(TarnixDecode, UnreadableFilesAreNamedSkippedAndGiveStatus2)
{
    const std::string good = typed(kSerial, bytesOf("E28"), bytesOf("ABC"));
    const fs::path log = file("scans.log", good + "\n");
    const std::string missing = (dir_ / "missing.log").string();
    Outcome result = run({missing, log.string(), dir_.string()});
    EXPECT_EQ(result.out, "SN-000123456789ABC\tE28\tABC\n") << "the readable file is still decoded";
    EXPECT_EQ(result.err,
        "tarnix-decode: " + missing
            + ": cannot open: No such file or directory\n"
              "tarnix-decode: "
            + dir_.string() + ": cannot read: Is a directory\n");
    EXPECT_EQ(result.status, 2);

    // An unreadable file outweighs a short line.
    result = run({"-", missing}, "short\n");
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find(kTooShort), std::string::npos) << result.err;
}

TEST_F(TarnixDecode, AFullDiskIsReportedWithStatus2)
{
    const Outcome result = run({}, typed(kSerial, bytesOf("E28"), bytesOf("ABC")) + "\n", "/dev/full");
    EXPECT_EQ(result.err, "tarnix-decode: cannot write the output: No space left on device\n");
    EXPECT_EQ(result.status, 2);
}

TEST_F(TarnixDecode, UsageErrorsHelpAndVersion)
{
    Outcome result = run({"--jason"}, typed(kSerial, bytesOf("E28"), bytesOf("ABC")) + "\n");
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.out, "") << "nothing is decoded after a usage error";
    EXPECT_EQ(
        result.err, "tarnix-decode: unknown option '--jason'\nTry 'tarnix-decode --help' for more information.\n");

    result = run({"--help"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out.rfind("Usage: tarnix-decode [--json] [FILE...]\n", 0), 0u) << result.out;
    EXPECT_EQ(result.err, "");

    result = run({"--version"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "tarnix-decode " TARNIX_VERSION_STRING "\n");
}

TEST_F(TarnixDecode, InvalidUtf8AndEmptyInputNeverFail)
{
    // One bad byte in place of the lead character keeps the layout.
    const std::string line = typed(kSerial, bytesOf("E28"), bytesOf("ABC"));
    Outcome result = run({}, "\xFE" + line.substr(1) + "\n");
    EXPECT_EQ(result.out, "SN-000123456789ABC\tE28\tABC\n");
    EXPECT_EQ(result.status, 0);

    // A line of 32 bad bytes is 32 characters: long enough, and decodes (to nothing
    // but the mask, as U+FFFD is no symbol).
    result = run({}, std::string(32, '\x80') + "\n");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "\t\t\n");

    result = run({}, "");
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.status, 0);
    result = run({file("empty.log", "").string(), "--json"});
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.status, 0);
}

TEST_F(TarnixDecode, LongInputAcrossManyReadBlocksDecodesEveryLine)
{
    // About 3 MiB, so that lines straddle the program's read blocks.
    std::mt19937 random(3);
    std::uniform_int_distribution<int> letter('A', 'Z');
    std::string input;
    std::string expected;
    while (input.size() < (3u << 20)) {
        std::string data(3 * (1 + input.size() % 7), ' ');
        for (char& ch : data)
            ch = static_cast<char>(letter(random));
        input += typed(kSerial, bytesOf("E28"), bytesOf(data)) + (input.size() % 2 ? "\r\n" : "\n");
        expected += "SN-000123456789ABC\tE28\t" + data + "\n";
    }
    const Outcome result = run({file("big.log", input).string()});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(result.out == expected) << "the output differs; " << result.out.size() << " bytes instead of "
                                        << expected.size();
}

TEST_F(TarnixDecode, AUtf8ByteOrderMarkIsDroppedFromEachFileAndStandardInput)
{
    const std::string line = "\xEF\xBB\xBF" + typed(kSerial, bytesOf("E28"), bytesOf("1Z9")) + "\n";
    const Outcome result = run({file("bom.log", line).string(), "-"}, line);
    EXPECT_EQ(result.out, "SN-000123456789ABC\tE28\t1Z9\nSN-000123456789ABC\tE28\t1Z9\n");
    EXPECT_EQ(result.status, 0);
}
