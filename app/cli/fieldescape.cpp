#include "fieldescape.h"

#include "utf8.h"

namespace cli {

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

// The longest form one UTF-16 unit takes in either format: "\u00hh". (A surrogate
// pair takes four bytes for two units.)
constexpr std::size_t kLongestFormOfAUnit = 6;

// Printable ASCII that no format escapes: the bulk of every field.
bool isPlain(char16_t unit)
{
    return unit >= 0x20 && unit < 0x7F && unit != u'\\' && unit != u'"';
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

// Appends text as UTF-8. Every character other than plain printable ASCII is first
// offered to escape(codePoint, out), which writes an escape and returns the position
// behind it, or returns out unchanged to have the character written as it is. Writes
// into room made for the longest possible result and cuts it to size afterwards:
// this runs for every field of every line.
template <typename Escape>
void appendEscaped(std::u16string_view text, std::string& out, Escape escape)
{
    const std::size_t start = out.size();
    out.resize(start + text.size() * kLongestFormOfAUnit);
    char* const first = out.data();
    char* end = first + start;
    const char16_t* next = text.data();
    const char16_t* const last = next + text.size();
    while (next != last) {
        if (isPlain(*next)) {
            *end++ = static_cast<char>(*next++);
            continue;
        }
        std::size_t index = static_cast<std::size_t>(next - text.data());
        const char32_t codePoint = nextCodePoint(text, index);
        next = text.data() + index;
        char* const escaped = escape(codePoint, end);
        end = escaped != end ? escaped : writeUtf8(codePoint, end);
    }
    out.resize(static_cast<std::size_t>(end - first));
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
    if (ch < 0x20 || (ch >= 0x7F && ch <= 0x9F))
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
    if (ch < 0x20 || (ch >= 0x7F && ch <= 0x9F))
        return writeHexByte(ch, writeText("\\u00", out));
    return out;
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
