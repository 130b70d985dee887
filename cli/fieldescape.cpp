// SPDX-License-Identifier: MIT
#include "cli/fieldescape.h"

#include "unicode/utf8.h"

namespace cli {

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

// Printable ASCII that no format escapes: the bulk of every field.
bool isPlain(char16_t unit)
{
    return unit >= 0x20 && unit < 0x7F && unit != u'\\' && unit != u'"';
}

// C0 controls, DEL and the C1 controls: escaped by both formats, so that none reaches
// a terminal or a column raw.
bool isControl(char32_t ch)
{
    return ch < 0x20 || (ch >= 0x7F && ch <= 0x9F);
}

char* writeText(const char* text, char* out)
{
    while (*text)
        *out++ = *text++;
    return out;
}

char* writeHexByte(char32_t value, char* out)
{
    *out++ = kHexDigits[(value >> 4) & 0xF];
    *out++ = kHexDigits[value & 0xF];
    return out;
}

// Writes text as UTF-8. Every character other than plain printable ASCII is first
// offered to escape(codePoint, out), which writes an escape and returns the position
// behind it, or returns out unchanged to have the character written as it is.
template <typename Escape>
char* writeEscaped(std::u16string_view text, char* out, Escape escape)
{
    const char16_t* next = text.data();
    const char16_t* const last = next + text.size();
    while (next != last) {
        if (isPlain(*next)) {
            *out++ = static_cast<char>(*next++);
            continue;
        }
        std::size_t index = static_cast<std::size_t>(next - text.data());
        const char32_t codePoint = unicode::nextCodePoint(text, index);
        next = text.data() + index;
        char* const escaped = escape(codePoint, out);
        out = escaped != out ? escaped : unicode::writeUtf8(codePoint, out);
    }
    return out;
}

char* escapeForColumn(char32_t ch, char* out)
{
    switch (ch) {
    case U'\t': return writeText("\\t", out);
    case U'\r': return writeText("\\r", out);
    case U'\n': return writeText("\\n", out);
    case U'\\': return writeText("\\\\", out);
    default: break;
    }
    if (isControl(ch))
        return writeHexByte(ch, writeText("\\x", out));
    return out;
}

char* escapeForJson(char32_t ch, char* out)
{
    switch (ch) {
    case U'"': return writeText("\\\"", out);
    case U'\\': return writeText("\\\\", out);
    case U'\n': return writeText("\\n", out);
    case U'\r': return writeText("\\r", out);
    case U'\t': return writeText("\\t", out);
    case U'\b': return writeText("\\b", out);
    case U'\f': return writeText("\\f", out);
    default: break;
    }
    // DEL and the C1 controls are valid JSON as they are, but escaped they cannot
    // reach a terminal raw.
    if (isControl(ch))
        return writeHexByte(ch, writeText("\\u00", out));
    return out;
}

} // namespace

char* writeColumnField(std::u16string_view text, char* out)
{
    return writeEscaped(text, out, escapeForColumn);
}

char* writeJsonStringContent(std::u16string_view text, char* out)
{
    return writeEscaped(text, out, escapeForJson);
}

void appendColumnField(std::u16string_view text, std::string& out)
{
    const std::size_t start = out.size();
    out.resize(start + text.size() * kLongestFormOfAUnit);
    char* const end = writeColumnField(text, out.data() + start);
    out.resize(static_cast<std::size_t>(end - out.data()));
}

void appendJsonString(std::u16string_view text, std::string& out)
{
    const std::size_t start = out.size();
    out.resize(start + text.size() * kLongestFormOfAUnit + 2);
    char* end = out.data() + start;
    *end++ = '"';
    end = writeJsonStringContent(text, end);
    *end++ = '"';
    out.resize(static_cast<std::size_t>(end - out.data()));
}

} // namespace cli
