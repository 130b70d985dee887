#include "fieldescape.h"

#include "utf8.h"

namespace cli {

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

void appendHexByte(char32_t value, std::string& out)
{
    out += kHexDigits[(value >> 4) & 0xF];
    out += kHexDigits[value & 0xF];
}

// Walks text and appends it as UTF-8. Every character other than plain printable
// ASCII is first offered to escape(codePoint, out), which returns true when it wrote
// an escape in place of the character.
template <typename Escape>
void appendEscaped(std::u16string_view text, std::string& out, Escape escape)
{
    std::size_t index = 0;
    while (index < text.size()) {
        const char16_t unit = text[index];
        if (unit >= 0x20 && unit < 0x7F && unit != u'\\' && unit != u'"') {
            out += static_cast<char>(unit);
            ++index;
            continue;
        }
        const char32_t codePoint = nextCodePoint(text, index);
        if (!escape(codePoint, out))
            appendUtf8(codePoint, out);
    }
}

bool escapeForColumn(char32_t ch, std::string& out)
{
    switch (ch) {
    case U'\t': out += "\\t"; return true;
    case U'\r': out += "\\r"; return true;
    case U'\n': out += "\\n"; return true;
    case U'\\': out += "\\\\"; return true;
    default: break;
    }
    if (ch < 0x20 || (ch >= 0x7F && ch <= 0x9F)) {
        out += "\\x";
        appendHexByte(ch, out);
        return true;
    }
    return false;
}

bool escapeForJson(char32_t ch, std::string& out)
{
    switch (ch) {
    case U'"': out += "\\\""; return true;
    case U'\\': out += "\\\\"; return true;
    case U'\n': out += "\\n"; return true;
    case U'\r': out += "\\r"; return true;
    case U'\t': out += "\\t"; return true;
    case U'\b': out += "\\b"; return true;
    case U'\f': out += "\\f"; return true;
    default: break;
    }
    // DEL and the C1 controls are valid JSON as they are, but escaped they cannot
    // reach a terminal raw.
    if (ch < 0x20 || (ch >= 0x7F && ch <= 0x9F)) {
        out += "\\u00";
        appendHexByte(ch, out);
        return true;
    }
    return false;
}

} // namespace

void appendColumnField(std::u16string_view text, std::string& out)
{
    appendEscaped(text, out, escapeForColumn);
}

void appendJsonString(std::u16string_view text, std::string& out)
{
    out += '"';
    appendEscaped(text, out, escapeForJson);
    out += '"';
}

} // namespace cli
