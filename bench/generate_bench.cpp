// SPDX-License-Identifier: MIT
// Core generator throughput into a memory buffer.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "generate/number_walk.h"
#include "generate/runs.h"

namespace {

std::vector<std::string> sevenDigitSegments(int count) {
    std::vector<std::string> segments;
    for (int i = 0; i < count; ++i) {
        segments.push_back(std::to_string(1380000 + i));
    }
    return segments;
}

// All numbers of 100 seven-digit segments (one million numbers) per iteration, written
// in slices of 64 Ki numbers into a reused buffer.
void AllNumbersIntoBuffer(benchmark::State& state) {
    const auto segments = sevenDigitSegments(100);
    std::string buffer;
    buffer.reserve(1 << 21);
    for (auto _ : state) {
        auto walk = haoma::generate::NumberWalk::allNumbers(segments, "\n");
        std::size_t total = 0;
        while (!walk.finished()) {
            buffer.clear();
            total += walk.produce(65536, buffer);
            benchmark::DoNotOptimize(buffer.data());
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * 1'000'000);
}
BENCHMARK(AllNumbersIntoBuffer)->Unit(benchmark::kMillisecond);

// All nine pretty kinds over 10,000 seven-digit segments (5.29 million numbers).
void PrettyNumbersIntoBuffer(benchmark::State& state) {
    const auto segments = sevenDigitSegments(10'000);
    std::string buffer;
    buffer.reserve(1 << 21);
    std::int64_t total = 0;
    for (auto _ : state) {
        haoma::generate::PrettyRun run(segments, "\n");
        while (run.kindAtTurn()) {
            run.beginKind();
            while (run.kindActive()) {
                buffer.clear();
                run.next(INT64_MAX, 65536, buffer);
                benchmark::DoNotOptimize(buffer.data());
            }
        }
        total += run.runCount();
    }
    state.SetItemsProcessed(total);
}
BENCHMARK(PrettyNumbersIntoBuffer)->Unit(benchmark::kMillisecond);

// Baseline in the same run: copying the same bytes with one memcpy per number.
void BaselineCopyPerLine(benchmark::State& state) {
    const std::string line = "13800130000\n";
    std::string buffer;
    buffer.reserve(1 << 21);
    for (auto _ : state) {
        for (int block = 0; block < 16; ++block) {
            buffer.clear();
            for (int i = 0; i < 62500; ++i) {
                buffer.append(line);
            }
            benchmark::DoNotOptimize(buffer.data());
        }
    }
    state.SetItemsProcessed(state.iterations() * 1'000'000);
}
BENCHMARK(BaselineCopyPerLine)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
