// SPDX-License-Identifier: MIT
#include "tests/cli/fieldreaders.h"

#include <stdexcept>

#include "unicode/utf8.h"

namespace clitest {

namespace {

int hexValue(char digit)
{
    if (digit >= '0' && digit <= '9')
        return digit - '0';
    if (digit >= 'a' && digit <= 'f')
        return digit - 'a' + 10;
    if (digit >= 'A' && digit <= 'F')
        return digit - 'A' + 10;
    throw std::invalid_argument("not a hex digit");
}

unsigned hexNumber(std::string_view digits)
{
    unsigned value = 0;
    for (const char digit : digits)
        value = value * 16 + static_cast<unsigned>(hexValue(digit));
    return value;
}

// Raw bytes between escapes: must be valid UTF-8 (it comes back unchanged from a
// round trip through UTF-16) and hold no control character.
void appendRaw(std::string_view raw, std::u16string& out)
{
    std::u16string decoded;
    unicode::appendUtf8AsUtf16(raw, decoded);
    std::string reencoded;
    for (std::size_t i = 0; i < decoded.size();)
        unicode::appendUtf8(unicode::nextCodePoint(decoded, i), reencoded);
    if (reencoded != raw)
        throw std::invalid_argument("invalid UTF-8");
    for (const char16_t ch : decoded) {
        if (ch < 0x20 || (ch >= 0x7F && ch <= 0x9F))
            throw std::invalid_argument("raw control character");
    }
    out += decoded;
}

} // namespace

std::u16string readColumnField(std::string_view field)
{
    std::u16string text;
    std::size_t i = 0;
    while (i < field.size()) {
        const std::size_t escape = field.find('\\', i);
        appendRaw(field.substr(i, escape - i), text);
        if (escape == std::string_view::npos)
            break;
        if (escape + 1 >= field.size())
            throw std::invalid_argument("backslash at the end");
        const char kind = field[escape + 1];
        i = escape + 2;
        switch (kind) {
        case 't': text += u'\t'; break;
        case 'r': text += u'\r'; break;
        case 'n': text += u'\n'; break;
        case '\\': text += u'\\'; break;
        case 'x':
            if (i + 2 > field.size())
                throw std::invalid_argument("short \\x escape");
            text += static_cast<char16_t>(hexNumber(field.substr(i, 2)));
            i += 2;
            break;
        default: throw std::invalid_argument("unknown escape");
        }
    }
    return text;
}

std::u16string readJsonString(std::string_view json)
{
    if (json.size() < 2 || json.front() != '"' || json.back() != '"')
        throw std::invalid_argument("not a JSON string");
    const std::string_view body = json.substr(1, json.size() - 2);
    std::u16string text;
    std::size_t i = 0;
    while (i < body.size()) {
        const std::size_t stop = body.find_first_of("\\\"", i);
        appendRaw(body.substr(i, stop - i), text);
        if (stop == std::string_view::npos)
            break;
        if (body[stop] == '"' || stop + 1 >= body.size())
            throw std::invalid_argument("unescaped quote or trailing backslash");
        const char kind = body[stop + 1];
        i = stop + 2;
        switch (kind) {
        case '"': text += u'"'; break;
        case '\\': text += u'\\'; break;
        case '/': text += u'/'; break;
        case 'b': text += u'\b'; break;
        case 'f': text += u'\f'; break;
        case 'n': text += u'\n'; break;
        case 'r': text += u'\r'; break;
        case 't': text += u'\t'; break;
        case 'u':
            if (i + 4 > body.size())
                throw std::invalid_argument("short \\u escape");
            text += static_cast<char16_t>(hexNumber(body.substr(i, 4)));
            i += 4;
            break;
        default: throw std::invalid_argument("unknown JSON escape");
        }
    }
    return text;
}

} // namespace clitest
