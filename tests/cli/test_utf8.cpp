// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "unicode/utf8.h"

using unicode::appendUtf8;
using unicode::appendUtf8AsUtf16;
using unicode::nextCodePoint;

namespace {

constexpr char16_t kFFFD = unicode::kReplacementCharacter;

std::u16string toUtf16(std::string_view bytes)
{
    std::u16string text;
    appendUtf8AsUtf16(bytes, text);
    return text;
}

// Bytes shown as hex, for failure messages.
std::string hex(std::string_view bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        out += digits[value >> 4];
        out += digits[value & 15];
        out += ' ';
    }
    return out;
}

std::string hex(std::u16string_view text)
{
    std::string out;
    for (const char16_t unit : text)
        out += std::to_string(unit) + ' ';
    return out;
}

// The UTF-16 units of a code point, computed from the definition.
std::u16string unitsOf(char32_t codePoint)
{
    if (codePoint < 0x10000)
        return std::u16string(1, static_cast<char16_t>(codePoint));
    const char32_t offset = codePoint - 0x10000;
    return {static_cast<char16_t>(0xD800 + (offset >> 10)), static_cast<char16_t>(0xDC00 + (offset & 0x3FF))};
}

} // namespace

TEST(Utf8ToUtf16, WellFormedSequencesOfEveryLengthConvertAtTheirBoundaries)
{
    struct Case {
        std::string bytes;
        std::u16string text;
    };
    const Case cases[] = {
        {"", u""},
        {"A~\x7F", u"A~\x7F"},
        {"\xC2\x80", u"\u0080"},
        {"\xC3\xA9t\xC3\xA9", u"\u00E9t\u00E9"},
        {"\xDF\xBF", u"\u07FF"},
        {"\xE0\xA0\x80", u"\u0800"},
        {"\xE2\x82\xAC", u"\u20AC"},
        {"\xED\x9F\xBF", u"\uD7FF"},
        {"\xEE\x80\x80", u"\uE000"},
        {"\xEF\xBF\xBD", u"\uFFFD"},
        {"\xEF\xBF\xBF", u"\uFFFF"},
        {"\xF0\x90\x80\x80", u"\U00010000"},
        {"\xF0\x9F\x98\x80", u"\U0001F600"},
        {"\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
        {std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(toUtf16(c.bytes), c.text) << "input " << hex(c.bytes);
}

TEST(Utf8ToUtf16, EveryCodePointSurvivesTheRoundTripThroughUtf8)
{
    for (char32_t codePoint = 0; codePoint <= 0x10FFFF; ++codePoint) {
        if (codePoint >= 0xD800 && codePoint <= 0xDFFF)
            continue;
        std::string bytes;
        appendUtf8(codePoint, bytes);
        const std::size_t expectedLength = codePoint < 0x80 ? 1 : codePoint < 0x800 ? 2 : codePoint < 0x10000 ? 3 : 4;
        ASSERT_EQ(bytes.size(), expectedLength) << "code point " << static_cast<unsigned long>(codePoint);
        const std::u16string text = toUtf16(bytes);
        ASSERT_EQ(text, unitsOf(codePoint))
            << "code point " << static_cast<unsigned long>(codePoint) << " bytes " << hex(bytes);
        std::size_t index = 0;
        ASSERT_EQ(nextCodePoint(text, index), codePoint) << "code point " << static_cast<unsigned long>(codePoint);
        ASSERT_EQ(index, text.size()) << "code point " << static_cast<unsigned long>(codePoint);
    }
}

TEST(Utf8ToUtf16, EveryBadByteBecomesOneReplacementCharacter)
{
    struct Case {
        std::string bytes;
        std::u16string text;
    };
    const Case cases[] = {
        {"\x80", {kFFFD}}, // stray continuation byte
        {"a\xBF"
         "b",
            {u'a', kFFFD, u'b'}},
        {"\xC0\xAF", {kFFFD, kFFFD}}, // overlong "/"
        {"\xC1\xBF", {kFFFD, kFFFD}},
        {"\xE0\x9F\xBF", {kFFFD, kFFFD, kFFFD}},            // overlong three-byte form
        {"\xF0\x8F\xBF\xBF", {kFFFD, kFFFD, kFFFD, kFFFD}}, // overlong four-byte form
        {"\xED\xA0\x80", {kFFFD, kFFFD, kFFFD}},            // encoded surrogate
        {"\xED\xBF\xBF", {kFFFD, kFFFD, kFFFD}},
        {"\xF4\x90\x80\x80", {kFFFD, kFFFD, kFFFD, kFFFD}}, // beyond U+10FFFF
        {"\xF5\x80\x80\x80", {kFFFD, kFFFD, kFFFD, kFFFD}},
        {"\xFE\xFF", {kFFFD, kFFFD}},
        {"\xE2\x82", {kFFFD, kFFFD}}, // cut short by the end
        {"\xE2\x82"
         "A",
            {kFFFD, kFFFD, u'A'}}, // cut short by ASCII
        {"\xF0\x9F\x98"
         "x",
            {kFFFD, kFFFD, kFFFD, u'x'}},
        {"\xC3\xC3\xA9", {kFFFD, u'\u00E9'}}, // resumes at the next lead byte
        {"\xE2\x82\xAC\x80\xE2\x82\xAC", {u'\u20AC', kFFFD, u'\u20AC'}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(toUtf16(c.bytes), c.text) << "input " << hex(c.bytes) << " gave " << hex(toUtf16(c.bytes));
}

TEST(Utf8ToUtf16, AsciiFastPathAgreesAtEveryPositionOfANonAsciiCharacter)
{
    const std::string ascii = "0123456789abcdefghijklmnopqrstuv";
    for (std::size_t at = 0; at <= ascii.size(); ++at) {
        for (const std::string& inserted :
            {std::string("\xC3\xA9"), std::string("\x80"), std::string("\xF0\x9F\x98\x80")}) {
            const std::string bytes = ascii.substr(0, at) + inserted + ascii.substr(at);
            std::u16string expected(ascii.begin(), ascii.begin() + static_cast<long>(at));
            expected += inserted == "\x80" ? std::u16string(1, kFFFD) : toUtf16(inserted);
            expected.append(ascii.begin() + static_cast<long>(at), ascii.end());
            EXPECT_EQ(toUtf16(bytes), expected) << "input " << hex(bytes);
        }
    }
}

TEST(Utf8ToUtf16, AppendsBehindWhatTheTextHolds)
{
    std::u16string text = u"scan:";
    appendUtf8AsUtf16("\xC3\xA9\xFF"
                      "0123456789",
        text);
    EXPECT_EQ(text, std::u16string(u"scan:\u00E9") + kFFFD + u"0123456789");
}

TEST(Utf8ToUtf16, RandomBytesGiveWellFormedTextThatConvertsBackUnchanged)
{
    // Whatever the input, the result has no unpaired surrogate, is never longer than
    // the input, and writing it as UTF-8 and reading that again changes nothing.
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> length(0, 40);
    for (int round = 0; round < 20000; ++round) {
        std::string bytes;
        const int n = length(random);
        for (int i = 0; i < n; ++i) {
            // Mostly bytes that can form sequences, so that valid ones occur too.
            const int value = byte(random);
            bytes += static_cast<char>(round % 2 ? value : (value % 2 ? 0x80 | (value & 0x3F) : 0xC0 | (value & 0x3F)));
        }
        const std::u16string text = toUtf16(bytes);
        ASSERT_LE(text.size(), bytes.size()) << "input " << hex(bytes);
        std::string reencoded;
        for (std::size_t index = 0; index < text.size();) {
            const std::size_t before = index;
            const char32_t codePoint = nextCodePoint(text, index);
            ASSERT_FALSE(codePoint == kFFFD && text[before] != kFFFD) << "unpaired surrogate from input " << hex(bytes);
            appendUtf8(codePoint, reencoded);
        }
        ASSERT_EQ(toUtf16(reencoded), text) << "input " << hex(bytes);
    }
}

TEST(NextCodePoint, UnpairedSurrogatesGiveOneReplacementAndKeepTheNextCharacter)
{
    struct Case {
        std::u16string text;
        std::u32string codePoints;
    };
    const Case cases[] = {
        {{0xD83D, 0xDE00}, {0x1F600}},
        {{0xD83D}, {kFFFD}},             // high surrogate at the end
        {{0xD83D, u'a'}, {kFFFD, u'a'}}, // high surrogate before a plain character
        {{0xD83D, 0xD83D, 0xDE00}, {kFFFD, 0x1F600}},
        {{0xDE00, 0xD83D}, {kFFFD, kFFFD}}, // low before high is no pair
        {{u'x', 0xDFFF, u'y'}, {u'x', kFFFD, u'y'}},
    };
    for (const Case& c : cases) {
        std::u32string got;
        for (std::size_t index = 0; index < c.text.size();)
            got += nextCodePoint(c.text, index);
        EXPECT_EQ(got, c.codePoints) << "input " << hex(c.text);
    }
}
