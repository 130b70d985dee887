// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "cli/fieldescape.h"
#include "tests/cli/fieldreaders.h"
#include "cli/scanrecord.h"

using cli::appendColumnField;
using cli::appendJsonString;

namespace {

std::string column(std::u16string_view text)
{
    std::string out;
    appendColumnField(text, out);
    return out;
}

std::string json(std::u16string_view text)
{
    std::string out;
    appendJsonString(text, out);
    return out;
}

std::string unitsOf(std::u16string_view text)
{
    std::string out;
    for (const char16_t unit : text)
        out += std::to_string(unit) + ' ';
    return out;
}

bool isControl(char16_t ch)
{
    return ch < 0x20 || (ch >= 0x7F && ch <= 0x9F);
}

// Random text from the characters that decoded fields hold and from the corners of
// UTF-16: controls, backslash, quote, Latin-1, BMP symbols, pairs and lone surrogates.
std::u16string randomText(std::mt19937& random)
{
    static const char16_t pool[] = {u'a', u'Z', u'0', u' ', u'"', u'\\', u'/', u'\t', u'\r', u'\n', 0x00, 0x08, 0x0C,
        0x1B, 0x1F, 0x7F, 0x80, 0x85, 0x9F, 0xA0, 0xE9, 0xFF, 0x20AC, 0x2028, 0xFFFD, 0xD83D, 0xDE00};
    std::uniform_int_distribution<std::size_t> pick(0, std::size(pool) - 1);
    std::uniform_int_distribution<int> length(0, 24);
    std::u16string text;
    for (int n = length(random); n > 0; --n)
        text += pool[pick(random)];
    return text;
}

// The text as it reads back after writing: unpaired surrogates become U+FFFD.
std::u16string withPairedSurrogatesOnly(std::u16string_view text)
{
    std::u16string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        const bool high = unit >= 0xD800 && unit <= 0xDBFF;
        const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
        if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            out += unit;
            out += text[++i];
        } else {
            out += (high || low) ? char16_t{0xFFFD} : unit;
        }
    }
    return out;
}

} // namespace

TEST(ColumnField, LineBreaksTabsAndBackslashGetTheirShortEscapes)
{
    EXPECT_EQ(column(u"a\tb"), "a\\tb");
    EXPECT_EQ(column(u"a\rb"), "a\\rb");
    EXPECT_EQ(column(u"a\nb"), "a\\nb");
    EXPECT_EQ(column(u"a\\b"), "a\\\\b");
    EXPECT_EQ(column(u"\\t"), "\\\\t") << "a literal backslash-t must stay apart from a TAB";
    EXPECT_EQ(column(u""), "");
}

TEST(ColumnField, EveryOtherControlCharacterIsWrittenAsTwoHexDigits)
{
    for (char16_t ch = 0; ch <= 0xFF; ++ch) {
        if (ch == u'\t' || ch == u'\r' || ch == u'\n' || ch == u'\\')
            continue;
        const std::string written = column(std::u16string(1, ch));
        if (isControl(ch)) {
            static const char digits[] = "0123456789abcdef";
            const std::string expected = std::string("\\x") + digits[ch >> 4] + digits[ch & 15];
            EXPECT_EQ(written, expected) << "input " << unsigned(ch);
        } else if (ch < 0x80) {
            EXPECT_EQ(written, std::string(1, static_cast<char>(ch))) << "input " << unsigned(ch);
        } else {
            // Latin-1 letters and signs pass as two-byte UTF-8.
            const std::string expected{static_cast<char>(0xC0 | (ch >> 6)), static_cast<char>(0x80 | (ch & 0x3F))};
            EXPECT_EQ(written, expected) << "input " << unsigned(ch);
        }
    }
}

TEST(ColumnField, WritesUtf8AndReplacesUnpairedSurrogates)
{
    EXPECT_EQ(column(u"\u20AC"), "\xE2\x82\xAC");
    EXPECT_EQ(column(u"\U0001F600"), "\xF0\x9F\x98\x80");
    EXPECT_EQ(column(std::u16string{0xD83D, u'x'}), "\xEF\xBF\xBDx");
    EXPECT_EQ(column(std::u16string{0xDE00}), "\xEF\xBF\xBD");
}

TEST(ColumnField, AnyTextReadsBackUnchangedAndNeverBreaksAColumn)
{
    std::mt19937 random(7);
    for (int round = 0; round < 5000; ++round) {
        const std::u16string text = randomText(random);
        std::string written = "prefix";
        appendColumnField(text, written);
        ASSERT_EQ(written.rfind("prefix", 0), 0u) << "input " << unitsOf(text);
        written.erase(0, 6);
        EXPECT_EQ(written.find_first_of("\t\r\n"), std::string::npos) << "input " << unitsOf(text);
        try {
            EXPECT_EQ(clitest::readColumnField(written), withPairedSurrogatesOnly(text)) << "input " << unitsOf(text);
        } catch (const std::invalid_argument& error) {
            ADD_FAILURE() << error.what() << " in " << written << " from input " << unitsOf(text);
        }
    }
}

TEST(JsonString, QuotesBackslashAndControlsGetJsonEscapes)
{
    EXPECT_EQ(json(u""), "\"\"");
    EXPECT_EQ(json(u"say \"hi\""), "\"say \\\"hi\\\"\"");
    EXPECT_EQ(json(u"a\\b/c"), "\"a\\\\b/c\"");
    EXPECT_EQ(json(u"\n\r\t\b\f"), "\"\\n\\r\\t\\b\\f\"");
    EXPECT_EQ(json(std::u16string(1, u'\0')), "\"\\u0000\"");
    EXPECT_EQ(json(u"\x1B[0m"), "\"\\u001b[0m\"");
    EXPECT_EQ(json(u"\x1F\x7F\x80\x9F\xA0"), "\"\\u001f\\u007f\\u0080\\u009f\xC2\xA0\"");
    EXPECT_EQ(json(u"caf\u00E9 \u20AC \U0001F600"), "\"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80\"");
    EXPECT_EQ(json(std::u16string{u'a', 0xDC00}), "\"a\xEF\xBF\xBD\"");
}

TEST(JsonString, AnyTextReadsBackUnchanged)
{
    std::mt19937 random(11);
    for (int round = 0; round < 5000; ++round) {
        const std::u16string text = randomText(random);
        const std::string written = json(text);
        EXPECT_EQ(written.find_first_of("\r\n"), std::string::npos) << "input " << unitsOf(text);
        try {
            EXPECT_EQ(clitest::readJsonString(written), withPairedSurrogatesOnly(text)) << "input " << unitsOf(text);
        } catch (const std::invalid_argument& error) {
            ADD_FAILURE() << error.what() << " in " << written << " from input " << unitsOf(text);
        }
    }
}

TEST(ScanRecord, ColumnsAndJsonHoldTheFieldsInSerialTypeDataOrderOnOneLine)
{
    tarnixFuncs::ScanFields fields;
    fields.data = u"1Z\t9\n\"x\"";
    fields.serial = u"SN-000123456789ABC";
    fields.type = u"E28";

    std::string columns;
    cli::appendScanRecord(fields, cli::OutputFormat::Columns, columns);
    EXPECT_EQ(columns, "SN-000123456789ABC\tE28\t1Z\\t9\\n\"x\"\n");

    std::string object;
    cli::appendScanRecord(fields, cli::OutputFormat::Json, object);
    EXPECT_EQ(object, "{\"serial\":\"SN-000123456789ABC\",\"type\":\"E28\",\"data\":\"1Z\\t9\\n\\\"x\\\"\"}\n");

    // Appending keeps what the buffer held: records follow each other.
    cli::appendScanRecord(fields, cli::OutputFormat::Columns, columns);
    EXPECT_EQ(columns, "SN-000123456789ABC\tE28\t1Z\\t9\\n\"x\"\nSN-000123456789ABC\tE28\t1Z\\t9\\n\"x\"\n");
}
