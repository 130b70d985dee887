// SPDX-License-Identifier: MIT
// Every text either decodes the same through the fast and the literal line decoder or
// is too short for both; every group of four 16-bit values either decodes to three
// characters or raises one of the decoder's documented errors. Anything else aborts.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "decoder/scanline.h"
#include "decoder/tarnixfuncs.h"
#include "tests/support/literaldecoder.h"

namespace {

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "fuzz_decoder: %s\n", what);
    std::abort();
}

// The first byte picks how the rest becomes text: odd, one character per byte (scan
// lines are ASCII, so the fuzzer reaches them easily); even, UTF-16 little-endian
// units (any text at all, surrogates included).
std::u16string textOf(const std::uint8_t* data, std::size_t size)
{
    std::u16string text;
    if (size == 0)
        return text;
    const bool bytewise = data[0] & 1;
    ++data;
    --size;
    if (bytewise) {
        text.assign(data, data + size);
    } else {
        for (std::size_t i = 0; i + 1 < size; i += 2)
            text += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    }
    return text;
}

std::size_t symbolCount(std::u16string_view text)
{
    std::size_t count = 0;
    for (const char16_t ch : text)
        count += tarnixFuncs::symbolSlot(ch) >= 0;
    return count;
}

void checkLine(const std::u16string& line)
{
    const auto fast = tarnixFuncs::decodeScanLine(line);
    const auto literal = testsupport::decodeScanLineLiteral(line);
    if (fast.has_value() != literal.has_value())
        fail("the fast and the literal decoder disagree on whether the line can be cut");
    if (!fast) {
        if (line.size() >= tarnixFuncs::kShortestScanLine)
            fail("a line long enough to cut was rejected");
        return;
    }
    if (fast->data != literal->data || fast->serial != literal->serial || fast->type != literal->type)
        fail("the fast and the literal decoder give different fields");
    const std::size_t dataSymbols = symbolCount(std::u16string_view(line).substr(31, line.size() - 34));
    if (fast->data.size() != dataSymbols / 4 * 3)
        fail("data does not hold three characters per whole group of symbols");
    if (fast->serial.size() != symbolCount(std::u16string_view(line).substr(1, 24)) / 4 * 3
        || fast->type.size() != symbolCount(std::u16string_view(line).substr(26, 4)) / 4 * 3)
        fail("serial or type has the wrong length");
}

void checkGroup(const std::uint8_t* bytes)
{
    std::int16_t values[4];
    for (int i = 0; i < 4; ++i)
        values[i] = static_cast<std::int16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    bool symbols = true;
    for (const std::int16_t value : values)
        symbols = symbols && value >= 0 && value < 64;
    try {
        if (tarnixFuncs::decodeGroup(values[0], values[1], values[2], values[3]).size() != 3)
            fail("decodeGroup did not give three characters");
    } catch (const tarnixFuncs::RuntimeError& error) {
        if (symbols)
            fail("decodeGroup raised an error for symbol values 0..63");
        const int number = error.number();
        if (number != tarnixFuncs::kInvalidCallError && number != tarnixFuncs::kOverflowError
            && number != tarnixFuncs::kDivisionByZeroError)
            fail("decodeGroup raised an undocumented error number");
        if (error.source() != "LShift" && error.source() != "RShift" && error.source() != tarnixFuncs::kProgramSource)
            fail("decodeGroup's error names an unexpected source");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool alphabetReady = (tarnixFuncs::initAlphabet(), true);
    (void)alphabetReady;

    checkLine(textOf(data, size));
    // The first bytes again, as up to four groups of four 16-bit values.
    for (std::size_t offset = 0; offset + 8 <= size && offset < 8 * 4; offset += 8)
        checkGroup(data + offset);
    return 0;
}
