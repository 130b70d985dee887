// SPDX-License-Identifier: MIT
// Decoding speed of one scan line: the fast path the programs use, and the literal
// step-by-step routine it is checked against.
#include <benchmark/benchmark.h>

#include "decoder/scanline.h"
#include "decoder/tarnixfuncs.h"
#include "bench/typicallines.h"
#include "tests/support/literaldecoder.h"

namespace {

template <auto Decode>
void decodeLine(benchmark::State& state, const std::u16string& line)
{
    tarnixFuncs::initAlphabet();
    for (auto _ : state) {
        auto fields = Decode(line);
        benchmark::DoNotOptimize(fields);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * line.size()));
    state.SetItemsProcessed(state.iterations());
}

void BM_DecodeScanLine_Typical46(benchmark::State& state)
{
    decodeLine<tarnixFuncs::decodeScanLine>(state, benchdata::kTypicalLine);
}
void BM_DecodeScanLineLiteral_Typical46(benchmark::State& state)
{
    decodeLine<testsupport::decodeScanLineLiteral>(state, benchdata::kTypicalLine);
}
void BM_DecodeScanLine_Parcel58(benchmark::State& state)
{
    decodeLine<tarnixFuncs::decodeScanLine>(state, benchdata::kParcelLine);
}
void BM_DecodeScanLine_1MiB(benchmark::State& state)
{
    decodeLine<tarnixFuncs::decodeScanLine>(state, benchdata::mebibyteLine());
}
void BM_DecodeScanLineLiteral_1MiB(benchmark::State& state)
{
    decodeLine<testsupport::decodeScanLineLiteral>(state, benchdata::mebibyteLine());
}

} // namespace

BENCHMARK(BM_DecodeScanLine_Typical46);
BENCHMARK(BM_DecodeScanLineLiteral_Typical46);
BENCHMARK(BM_DecodeScanLine_Parcel58);
BENCHMARK(BM_DecodeScanLine_1MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeScanLineLiteral_1MiB)->Unit(benchmark::kMillisecond);
