// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "tests/support/scanencoder.h"
#include "decoder/scanline.h"
#include "decoder/tarnixfuncs.h"

// Decoded characters come from the system's active code page. Each test needs a
// different one, so ctest runs each in its own process with the LC_ALL that makes Wine
// start with that code page (see CMakeLists.txt); run alone, only the 1252 one passes.

using namespace tarnixFuncs;
using testsupport::Bytes;

namespace {

struct ByteAndChar {
    std::uint8_t byte;
    char16_t character;
};

// The data field of a scan line whose data bytes are the given ones, decoded: the whole
// way from symbols to characters. Pads the bytes with 'A' to whole groups.
std::u16string decodedData(Bytes data)
{
    while (data.size() % 3 != 0)
        data.push_back('A');
    initAlphabet();
    const auto fields = decodeScanLine(
        testsupport::encodeScanLine(testsupport::bytesOf("SERIAL-0123456789X"), testsupport::bytesOf("E28"), data));
    if (!fields)
        return u"<line not decoded>";
    return fields->data;
}

// Every pair decodes as expected, one byte at a time and inside a scan line.
void expectCharacters(std::initializer_list<ByteAndChar> expected)
{
    Bytes bytes;
    std::u16string characters;
    for (const ByteAndChar& pair : expected) {
        EXPECT_EQ(byteToChar(pair.byte), pair.character) << "byte 0x" << std::hex << int(pair.byte);
        bytes.push_back(pair.byte);
        characters += pair.character;
    }
    EXPECT_EQ(decodedData(bytes).substr(0, characters.size()), characters);
}

bool isLeadByte(std::uint8_t byte)
{
    return IsDBCSLeadByteEx(CP_ACP, byte) != 0;
}

} // namespace

TEST(ActiveCodePage, Windows1252GivesWesternLetters)
{
    ASSERT_EQ(GetACP(), 1252u) << "needs LC_ALL=C.UTF-8 (or another Western locale)";
    expectCharacters({
        {0x41, u'A'}, {0xC0, u'\u00C0'}, // À
        {0xE9, u'\u00E9'},               // é
        {0xA8, u'\u00A8'},               // diaeresis
        {0xB9, u'\u00B9'},               // superscript one
        {0x80, u'\u20AC'},               // euro sign
        {0x9F, u'\u0178'},               // Ÿ
    });
}

TEST(ActiveCodePage, Windows1251GivesCyrillicLetters)
{
    ASSERT_EQ(GetACP(), 1251u) << "needs LC_ALL=ru_RU.UTF-8";
    // The same bytes as in the 1252 test, other characters.
    expectCharacters({
        {0x41, u'A'}, {0xC0, u'\u0410'}, // А
        {0xE9, u'\u0439'},               // й
        {0xA8, u'\u0401'},               // Ё
        {0xB9, u'\u2116'},               // numero sign
        {0x80, u'\u0402'},               // Ђ
        {0x9F, u'\u045F'},               // џ
    });
}

TEST(ActiveCodePage, ShiftJisConvertsEachByteOnItsOwn)
{
    ASSERT_EQ(GetACP(), 932u) << "needs LC_ALL=ja_JP.UTF-8";
    expectCharacters({
        {0x41, u'A'}, {0xA1, u'\uFF61'}, // halfwidth ideographic full stop
        {0xB1, u'\uFF71'},               // halfwidth katakana A
        {0xDF, u'\uFF9F'},               // halfwidth semi-voiced sound mark
    });

    // A lead byte of a two-byte character, converted without its trail byte, gives the
    // code page's default character instead of failing.
    CPINFOEXW info{};
    ASSERT_TRUE(GetCPInfoExW(CP_ACP, 0, &info));
    const auto defaultCharacter = static_cast<char16_t>(info.UnicodeDefaultChar);
    int leadBytes = 0;
    for (int code = 0; code < 256; ++code) {
        const auto byte = static_cast<std::uint8_t>(code);
        if (isLeadByte(byte)) {
            ++leadBytes;
            EXPECT_EQ(byteToChar(code), defaultCharacter) << "lead byte 0x" << std::hex << code;
        }
    }
    EXPECT_EQ(leadBytes, 60) << "0x81..0x9F and 0xE0..0xFC";

    // A lead byte followed by a trail byte inside one group still yields one character
    // per byte: 0x82 0xA0 would be a single hiragana character if read as a pair.
    const std::u16string decoded = decodedData({0x41, 0x82, 0xA0, 0xB1, 0x82, 0xDF});
    ASSERT_EQ(decoded.size(), 6u);
    EXPECT_EQ(decoded[0], u'A');
    EXPECT_EQ(decoded[1], defaultCharacter); // lead byte, alone
    EXPECT_EQ(decoded[3], u'\uFF71');        // halfwidth katakana A
    EXPECT_EQ(decoded[4], defaultCharacter);
    EXPECT_EQ(decoded[5], u'\uFF9F'); // halfwidth semi-voiced sound mark
}
