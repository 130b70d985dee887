// SPDX-License-Identifier: MIT
#include "decoder/scanline.h"

#include <array>
#include <cstdint>

#include "decoder/codepage.h"
#include "decoder/tarnixfuncs.h"

namespace tarnixFuncs {

namespace {

// Decodes a field straight from its symbols: the slot lookup replaces the digit-pair
// text, and the shifts cannot fail for slots 0..63, so plain bit operations serve.
std::u16string decodeFieldSymbols(std::u16string_view symbols)
{
    const CodePageTable& codePage = activeCodePage();
    // Sized for the most a field can give, written in place, then cut to what it gave.
    std::u16string decoded(symbols.size() / 4 * 3, u'\0');
    char16_t* out = decoded.data();
    std::uint32_t packed = 0;
    int pending = 0;
    for (const char16_t ch : symbols) {
        const int slot = symbolSlot(ch);
        if (slot < 0)
            continue;
        packed = (packed << 6) | static_cast<std::uint32_t>(slot);
        if (++pending == 4) {
            *out++ = codePage[((packed >> 16) ^ kMask) & 0xFF];
            *out++ = codePage[((packed >> 8) ^ kMask) & 0xFF];
            *out++ = codePage[(packed ^ kMask) & 0xFF];
            packed = 0;
            pending = 0;
        }
    }
    decoded.resize(static_cast<std::size_t>(out - decoded.data()));
    return decoded;
}

} // namespace

FieldSymbols cutFields(std::u16string_view line)
{
    FieldSymbols fields;
    fields.serial = line.substr(1, 24);
    std::u16string_view rest = line.substr(26);
    fields.type = rest.substr(0, 4);
    rest.remove_prefix(5);
    fields.data = rest.substr(0, rest.size() - 3);
    return fields;
}

std::optional<ScanFields> decodeScanLine(std::u16string_view line)
{
    if (line.size() < kShortestScanLine)
        return std::nullopt;
    const FieldSymbols fields = cutFields(line);
    ScanFields result;
    result.data = decodeFieldSymbols(fields.data);
    result.serial = decodeFieldSymbols(fields.serial);
    result.type = decodeFieldSymbols(fields.type);
    return result;
}

} // namespace tarnixFuncs
