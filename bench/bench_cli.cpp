// SPDX-License-Identifier: MIT
// The steps tarnix-decode takes per line, and the whole loop on a log in memory
// (everything but the system calls).
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "cli/fieldescape.h"
#include "cli/scanlogdecoder.h"
#include "cli/scanrecord.h"
#include "decoder/tarnixfuncs.h"
#include "bench/typicallines.h"
#include "unicode/utf8.h"

namespace {

std::string utf8Of(const std::u16string& asciiText)
{
    return std::string(asciiText.begin(), asciiText.end());
}

void BM_Utf8ToUtf16_TypicalLine(benchmark::State& state)
{
    const std::string bytes = utf8Of(benchdata::kTypicalLine);
    std::u16string text;
    for (auto _ : state) {
        text.clear();
        unicode::appendUtf8AsUtf16(bytes, text);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

void record(benchmark::State& state, cli::OutputFormat format)
{
    tarnixFuncs::initAlphabet();
    const auto fields = tarnixFuncs::decodeScanLine(benchdata::kParcelLine);
    std::string out;
    for (auto _ : state) {
        out.clear();
        cli::appendScanRecord(*fields, format, out);
        benchmark::DoNotOptimize(out.data());
    }
}
void BM_ColumnsRecord(benchmark::State& state)
{
    record(state, cli::OutputFormat::Columns);
}
void BM_JsonRecord(benchmark::State& state)
{
    record(state, cli::OutputFormat::Json);
}

class MemoryLog : public cli::ByteSource {
public:
    explicit MemoryLog(const std::string& bytes)
        : bytes_(bytes)
    {
    }
    std::size_t read(char* buffer, std::size_t size) override
    {
        const std::size_t count = std::min(size, bytes_.size() - offset_);
        std::memcpy(buffer, bytes_.data() + offset_, count);
        offset_ += count;
        return count;
    }

private:
    const std::string& bytes_;
    std::size_t offset_ = 0;
};

class Discard : public cli::ByteSink {
public:
    void write(std::string_view bytes) override { benchmark::DoNotOptimize(bytes.data()); }
};

// About 8 MB of typical and parcel lines, LF and CR LF.
void decodeLog(benchmark::State& state, cli::OutputFormat format)
{
    tarnixFuncs::initAlphabet();
    const std::string typical = utf8Of(benchdata::kTypicalLine);
    const std::string parcel = utf8Of(benchdata::kParcelLine);
    std::string log;
    while (log.size() < 8'000'000)
        log += typical + parcel.substr(0, parcel.size() - 2) + "\n";
    Discard output;
    Discard messages;
    for (auto _ : state) {
        MemoryLog source(log);
        cli::ScanLogDecoder decoder(format, output, messages);
        benchmark::DoNotOptimize(decoder.decode(source, "log"));
        decoder.flush();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * log.size()));
}
void BM_DecodeLogInMemory_Columns(benchmark::State& state)
{
    decodeLog(state, cli::OutputFormat::Columns);
}
void BM_DecodeLogInMemory_Json(benchmark::State& state)
{
    decodeLog(state, cli::OutputFormat::Json);
}

} // namespace

BENCHMARK(BM_Utf8ToUtf16_TypicalLine);
BENCHMARK(BM_ColumnsRecord);
BENCHMARK(BM_JsonRecord);
BENCHMARK(BM_DecodeLogInMemory_Columns)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeLogInMemory_Json)->Unit(benchmark::kMillisecond);
