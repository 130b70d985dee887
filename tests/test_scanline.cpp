// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <random>

#include "tests/support/scanencoder.h"
#include "decoder/scanline.h"
#include "decoder/tarnixfuncs.h"
#include "tests/support/literaldecoder.h"

using namespace tarnixFuncs;
using testsupport::Bytes;
using testsupport::bytesOf;
using testsupport::decodeDigitPairs;
using testsupport::decodeScanLineLiteral;
using testsupport::encodeScanLine;
using testsupport::latin1Text;

namespace {

class ScanLine : public ::testing::Test {
protected:
    void SetUp() override { initAlphabet(); }
};

const Bytes kSerial = bytesOf("SN-000123456789ABC");
const Bytes kType = bytesOf("E28");

// A line of the given total length: lead, symbols everywhere, CR LF at the end.
std::u16string lineOfLength(std::size_t length)
{
    std::u16string line(length - 2, u'Q');
    return line + u"\r\n";
}

} // namespace

// ctest runs each test in a process of its own: here initAlphabet never ran, and the
// fast decoder still decodes, from its compile-time slot table.
TEST(ScanLineAtStartUp, FastDecoderNeedsNoFilledAlphabet)
{
    ASSERT_TRUE(symbolAlphabet[0].empty()) << "run this test in a process of its own";
    const auto fields = decodeScanLine(encodeScanLine(kSerial, kType, bytesOf("1Z999AA10123456784")));
    ASSERT_TRUE(fields);
    EXPECT_EQ(fields->serial, u"SN-000123456789ABC");
    EXPECT_EQ(fields->type, u"E28");
    EXPECT_EQ(fields->data, u"1Z999AA10123456784");
}

TEST_F(ScanLine, DecodesTheThreeFieldsOfAWellFormedLine)
{
    const std::u16string line = encodeScanLine(kSerial, kType, bytesOf("1Z999AA10123456784"));
    const auto fields = decodeScanLine(line);
    ASSERT_TRUE(fields);
    EXPECT_EQ(fields->serial, u"SN-000123456789ABC");
    EXPECT_EQ(fields->type, u"E28");
    EXPECT_EQ(fields->data, u"1Z999AA10123456784");
}

TEST_F(ScanLine, LinesShorterThan34CharactersCannotBeCut)
{
    for (std::size_t length : {0u, 1u, 2u, 26u, 31u, 33u}) {
        const std::u16string line = length < 2 ? std::u16string(length, u'a') : lineOfLength(length);
        EXPECT_FALSE(decodeScanLine(line)) << "length " << length;
        EXPECT_FALSE(decodeScanLineLiteral(line)) << "length " << length;
    }
    const auto shortest = decodeScanLine(lineOfLength(34));
    ASSERT_TRUE(shortest);
    EXPECT_EQ(shortest->data, u"") << "34 characters leave an empty data field";
    EXPECT_EQ(shortest->serial.size(), 18u);
    EXPECT_EQ(shortest->type.size(), 3u);
}

TEST_F(ScanLine, DataFieldKeepsOnlyWholeGroupsOfFourSymbols)
{
    // 46 characters: data at positions 32..43, 12 symbols, 9 characters.
    EXPECT_EQ(decodeScanLine(lineOfLength(46))->data.size(), 9u);
    const std::size_t expected[] = {0, 0, 0, 0, 3, 3, 3, 3, 6};
    for (std::size_t symbols = 0; symbols <= 8; ++symbols)
        EXPECT_EQ(decodeScanLine(lineOfLength(34 + symbols))->data.size(), expected[symbols])
            << symbols << " data symbols";
}

TEST_F(ScanLine, CharactersOutsideTheAlphabetShiftTheRestOfTheirField)
{
    const std::u16string data = testsupport::encodeBytes(bytesOf("ABC123"));
    std::u16string line = encodeScanLine(kSerial, kType, {});
    // 8 data characters with one hyphen among them: 7 symbols, one whole group.
    std::u16string broken = data.substr(0, 3) + u"-" + data.substr(4);
    line.insert(line.size() - 3, broken);
    const auto fields = decodeScanLine(line);
    ASSERT_TRUE(fields);
    EXPECT_EQ(fields->data.size(), 3u);
    EXPECT_NE(fields->data, u"ABC") << "the hyphen moved the fourth symbol into the group";
    EXPECT_EQ(fields->serial, u"SN-000123456789ABC") << "other fields are unaffected";
}

TEST_F(ScanLine, LeadAndSeparatorsAreCutByPositionOnly)
{
    std::u16string line = encodeScanLine(kSerial, kType, bytesOf("XYZ"));
    const auto plain = decodeScanLine(line);
    line[0] = u'a';  // a symbol as lead
    line[25] = u'b'; // symbols as separators
    line[30] = u'c';
    line[line.size() - 3] = u'd';
    const auto changed = decodeScanLine(line);
    ASSERT_TRUE(plain && changed);
    EXPECT_EQ(changed->serial, plain->serial);
    EXPECT_EQ(changed->type, plain->type);
    EXPECT_EQ(changed->data, plain->data);
}

TEST_F(ScanLine, RoundTripsRandomFieldsThroughTheEncoder)
{
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> printable(0x20, 0x7E);
    for (int run = 0; run < 500; ++run) {
        Bytes serial(18), type(3), data(3 * (random() % 20));
        for (Bytes* field : {&serial, &type, &data})
            for (auto& byte : *field)
                byte = static_cast<std::uint8_t>(printable(random));
        const auto fields = decodeScanLine(encodeScanLine(serial, type, data));
        ASSERT_TRUE(fields) << "run " << run;
        EXPECT_EQ(fields->serial, latin1Text(serial)) << "run " << run;
        EXPECT_EQ(fields->type, latin1Text(type)) << "run " << run;
        EXPECT_EQ(fields->data, latin1Text(data)) << "run " << run;
    }
}

TEST_F(ScanLine, FastPathMatchesTheLiteralRoutinesOnRandomText)
{
    std::mt19937 random(7);
    const std::u16string pool = u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789+/"
                                u"-. \r\n\t\u00E9\u20AC\u0161\u0000\u007F";
    for (int run = 0; run < 2000; ++run) {
        std::u16string line(random() % 120, u' ');
        for (auto& ch : line)
            ch = pool[random() % pool.size()];
        const auto fast = decodeScanLine(line);
        const auto literal = decodeScanLineLiteral(line);
        ASSERT_EQ(fast.has_value(), literal.has_value()) << "run " << run;
        if (!fast)
            continue;
        EXPECT_EQ(fast->data, literal->data) << "run " << run;
        EXPECT_EQ(fast->serial, literal->serial) << "run " << run;
        EXPECT_EQ(fast->type, literal->type) << "run " << run;
    }
}

TEST_F(ScanLine, DigitPairTextDecodesGroupByGroup)
{
    EXPECT_EQ(decodeDigitPairs(u""), u"");
    EXPECT_EQ(decodeDigitPairs(u"0000000"), u"") << "seven digits are less than a group";
    EXPECT_EQ(decodeDigitPairs(u"00000000"), u"ZZZ");
    EXPECT_EQ(decodeDigitPairs(u"000000000000"), u"ZZZ") << "a half group is dropped";
    EXPECT_EQ(decodeDigitPairs(u"0000000063636363"), u"ZZZ\u00A5\u00A5\u00A5");
}
