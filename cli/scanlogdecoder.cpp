// SPDX-License-Identifier: MIT
#include "cli/scanlogdecoder.h"

#include "cli/programname.h"
#include "cli/textsource.h"
#include "decoder/scanline.h"
#include "unicode/utf8.h"

namespace cli {

namespace {

// Hands the decoder's output on before every read, because a read may wait for a
// slow writer on the other end of a pipe and the records so far should not wait.
class FlushBeforeRead : public ByteSource {
public:
    FlushBeforeRead(ByteSource& source, ScanLogDecoder& decoder)
        : source_(source)
        , decoder_(decoder)
    {
    }

    std::size_t read(char* buffer, std::size_t size) override
    {
        decoder_.flush();
        return source_.read(buffer, size);
    }

private:
    ByteSource& source_;
    ScanLogDecoder& decoder_;
};

} // namespace

ScanLogDecoder::ScanLogDecoder(OutputFormat format, ByteSink& output, ByteSink& messages, std::size_t blockSize)
    : format_(format)
    , output_(output)
    , messages_(messages)
    , blockSize_(blockSize)
{
}

std::size_t ScanLogDecoder::decode(ByteSource& input, std::string_view inputName)
{
    FlushBeforeRead source(input, *this);
    TextSource text(source);
    LineReader reader(text, blockSize_);
    std::size_t lineNumber = 0;
    std::size_t rejected = 0;
    std::string_view bytes;
    while (reader.next(bytes)) {
        ++lineNumber;
        line_.clear();
        unicode::appendUtf8AsUtf16(bytes, line_);
        const std::size_t length = line_.size();
        // The scanner ends every scan line in CR LF; the decoder counts on it.
        line_ += u"\r\n";
        const auto fields = tarnixFuncs::decodeScanLine(line_);
        if (!fields) {
            reject(inputName, lineNumber, length);
            ++rejected;
            continue;
        }
        appendScanRecord(*fields, format_, pending_);
        if (pending_.size() >= kOutputBufferSize)
            flush();
    }
    return rejected;
}

void ScanLogDecoder::flush()
{
    if (pending_.empty())
        return;
    output_.write(pending_);
    pending_.clear();
}

void ScanLogDecoder::reject(std::string_view inputName, std::size_t lineNumber, std::size_t length)
{
    flush();
    messages_.write(tooShortMessage(inputName, lineNumber, length));
}

std::string tooShortMessage(std::string_view inputName, std::size_t lineNumber, std::size_t length)
{
    std::string message(kProgramName);
    message += ": ";
    message += inputName;
    message += ':';
    message += std::to_string(lineNumber);
    message += ": line too short to decode (";
    message += std::to_string(length);
    message += length == 1 ? " character" : " characters";
    message += "; a scan line needs at least ";
    message += std::to_string(kShortestLineContent);
    message += " before its line end)\n";
    return message;
}

} // namespace cli
