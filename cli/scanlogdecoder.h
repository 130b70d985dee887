// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "cli/bytestream.h"
#include "cli/linereader.h"
#include "decoder/scanline.h"
#include "cli/scanrecord.h"

namespace cli {

// Characters an input line needs besides the CR LF that is restored before decoding.
inline constexpr std::size_t kShortestLineContent = tarnixFuncs::kShortestScanLine - 2;

// Decodes inputs of scan lines, one line each, into output records. The output is
// collected in a large buffer and written when it is full, when the decoder is about
// to wait for more input (so a pipe fed slowly still sees every record at once), before
// each message (so records and messages keep their order on a shared terminal) and
// on flush(). Needs tarnixFuncs::initAlphabet.
class ScanLogDecoder {
public:
    static constexpr std::size_t kOutputBufferSize = std::size_t{1} << 20;

    ScanLogDecoder(OutputFormat format, ByteSink& output, ByteSink& messages,
        std::size_t blockSize = LineReader::kDefaultBlockSize);

    // Decodes every line of input (UTF-8, or UTF-16 after its byte-order mark), named
    // inputName in messages, and returns how many lines were too short to decode.
    // Each of those gets a message and no record. Throws InputError when input fails
    // (the lines before it are decoded) and OutputError when the output or the
    // messages cannot be written.
    std::size_t decode(ByteSource& input, std::string_view inputName);

    // Writes out what the buffer holds.
    void flush();

private:
    void reject(std::string_view inputName, std::size_t lineNumber, std::size_t length);

    OutputFormat format_;
    ByteSink& output_;
    ByteSink& messages_;
    std::size_t blockSize_;
    std::string pending_; // output not yet written
    std::u16string line_; // the current line as text, reused from line to line
};

// The message for a line too short to decode, LF included.
std::string tooShortMessage(std::string_view inputName, std::size_t lineNumber, std::size_t length);

} // namespace cli
