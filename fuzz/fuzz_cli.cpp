// SPDX-License-Identifier: MIT
// Any bytes, read in any block and read sizes, give one record or one message per
// line (of UTF-8, or of UTF-16 after its byte-order mark), and the records are valid
// UTF-8 lines that no field can break: two TABs per line in columns, no raw control
// character in either format. Anything else aborts.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "cli/scanlogdecoder.h"
#include "decoder/tarnixfuncs.h"
#include "unicode/utf8.h"

namespace {

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "fuzz_cli: %s\n", what);
    std::abort();
}

class Chunked : public cli::ByteSource {
public:
    Chunked(std::string_view bytes, std::size_t chunk)
        : bytes_(bytes)
        , chunk_(chunk)
    {
    }
    std::size_t read(char* buffer, std::size_t size) override
    {
        const std::size_t count = std::min({size, chunk_, bytes_.size()});
        std::memcpy(buffer, bytes_.data(), count);
        bytes_.remove_prefix(count);
        return count;
    }

private:
    std::string_view bytes_;
    std::size_t chunk_;
};

class Collect : public cli::ByteSink {
public:
    void write(std::string_view bytes) override { text.append(bytes); }
    std::string text;
};

std::size_t countOf(std::string_view text, char ch)
{
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), ch));
}

// The lines of a log as its encoding counts them: after a UTF-16 mark, LF code units
// (never an 0x0A byte inside another unit); otherwise LF bytes, a UTF-8 mark no line.
std::size_t linesOf(std::string_view log)
{
    if (log.starts_with("\xFF\xFE") || log.starts_with("\xFE\xFF")) {
        const std::size_t lfAt = log[0] == '\xFE' ? 1 : 0;
        std::size_t lines = 0;
        bool open = false;
        for (std::size_t i = 2; i < log.size(); i += 2) {
            open = !(i + 1 < log.size() && log[i + lfAt] == '\n' && log[i + 1 - lfAt] == '\0');
            lines += !open;
        }
        return lines + open;
    }
    if (log.starts_with("\xEF\xBB\xBF"))
        log.remove_prefix(3);
    return countOf(log, '\n') + (!log.empty() && log.back() != '\n');
}

void checkUtf8WithoutRawControls(const std::string& output)
{
    std::u16string text;
    unicode::appendUtf8AsUtf16(output, text);
    std::string again;
    for (std::size_t i = 0; i < text.size();) {
        const char32_t ch = unicode::nextCodePoint(text, i);
        if ((ch < 0x20 && ch != U'\t' && ch != U'\n') || (ch >= 0x7F && ch <= 0x9F))
            fail("a raw control character reached the output");
        unicode::appendUtf8(ch, again);
    }
    if (again != output)
        fail("the output is not valid UTF-8");
}

void checkFormat(std::string_view log, std::size_t blockSize, std::size_t chunk, cli::OutputFormat format)
{
    Collect output;
    Collect messages;
    Chunked source(log, chunk);
    cli::ScanLogDecoder decoder(format, output, messages, blockSize);
    const std::size_t rejected = decoder.decode(source, "fuzz");
    decoder.flush();

    const std::size_t lines = linesOf(log);
    const std::size_t records = countOf(output.text, '\n');
    if (records + rejected != lines)
        fail("lines went missing or were counted twice");
    if (countOf(messages.text, '\n') != rejected)
        fail("a rejected line has no message");
    checkUtf8WithoutRawControls(output.text);

    std::string_view rest = output.text;
    while (!rest.empty()) {
        const std::string_view record = rest.substr(0, rest.find('\n'));
        rest.remove_prefix(record.size() + 1);
        if (format == cli::OutputFormat::Columns && countOf(record, '\t') != 2)
            fail("a record does not have exactly three columns");
        if (format == cli::OutputFormat::Json
            && (record.rfind("{\"serial\":\"", 0) != 0 || record.size() < 2
                || record.substr(record.size() - 2) != "\"}"))
            fail("a record is not one JSON object");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool alphabetReady = (tarnixFuncs::initAlphabet(), true);
    (void)alphabetReady;
    if (size < 2)
        return 0;
    // Two bytes choose the reader's block size and how much one read hands over.
    const std::size_t blockSize = 1 + data[0] % 97;
    const std::size_t chunk = 1 + data[1] % 61;
    const std::string_view log(reinterpret_cast<const char*>(data + 2), size - 2);
    checkFormat(log, blockSize, chunk, cli::OutputFormat::Columns);
    checkFormat(log, blockSize, chunk, cli::OutputFormat::Json);
    return 0;
}
