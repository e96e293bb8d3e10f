// SPDX-License-Identifier: MIT
// The pattern enumerator: dense patterns against the all-numbers run on the same segments
// (the baseline, in the same run), a sparse pattern over every segment of the store, exact
// counts of the presets for a city, a sample of a million from a thousand million, and the
// samples and counts of unions and --contains that are drawn by rank, not walked: over
// 广东's segments and over a blank line (fillers of 11 digits).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

#include "generate/match_run.h"
#include "generate/pattern_presets.h"
#include "generate/pretty_space.h"
#include "generate/runs.h"
#include "generate/sample_stream.h"
#include "lookup/segment_store.h"

namespace {

using haoma::generate::MatchRun;

std::vector<std::string> consecutiveSegments(int first, int count) {
    std::vector<std::string> segments;
    for (int i = 0; i < count; ++i) {
        segments.push_back(std::to_string(first + i));
    }
    return segments;
}

// Every segment of the store beside the benchmark.
const std::vector<std::string>& storeSegments() {
    static const std::vector<std::string> segments = [] {
        std::vector<std::string> all;
        const auto path = std::filesystem::canonical("/proc/self/exe").parent_path() / "mobile.db";
        if (const auto store = haoma::lookup::SegmentStore::open(path.string())) {
            store->visitPlaces([&](std::string_view segment, auto, auto, auto, auto) {
                all.emplace_back(segment);
            });
        }
        return all;
    }();
    return segments;
}

void drain(MatchRun& run, benchmark::State& state) {
    std::string block;
    block.reserve(1 << 20);
    std::uint64_t numbers = 0;
    while (!run.finished()) {
        block.clear();
        numbers += run.next(UINT64_MAX, 1 << 16, block);
        benchmark::DoNotOptimize(block.data());
    }
    state.counters["numbers"] = static_cast<double>(numbers);
    state.counters["rate"] = benchmark::Counter(static_cast<double>(numbers),
                                                benchmark::Counter::kIsIterationInvariantRate);
}

void Dense(benchmark::State& state, const char* pattern) {
    const auto segments = consecutiveSegments(1380000, 1000);
    const auto parsed = haoma::generate::parsePatterns(pattern);
    for (auto _ : state) {
        MatchRun run(segments, parsed.patterns, {}, "\n");
        drain(run, state);
    }
}
BENCHMARK_CAPTURE(Dense, Stars, "****")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Dense, NoFour, "[^4][^4][^4][^4]")->Unit(benchmark::kMillisecond);

// Baseline: the all-numbers run on the same 1,000 segments (10 million numbers).
void AllNumbersBaseline(benchmark::State& state) {
    const auto segments = consecutiveSegments(1380000, 1000);
    for (auto _ : state) {
        haoma::generate::AllNumbersRun run(segments, "\n");
        std::string block;
        block.reserve(1 << 20);
        std::uint64_t numbers = 0;
        while (!run.finished()) {
            block.clear();
            numbers += run.next(INT64_MAX, 1 << 16, block);
            benchmark::DoNotOptimize(block.data());
        }
        state.counters["rate"] = benchmark::Counter(static_cast<double>(numbers),
                                                    benchmark::Counter::kIsIterationInvariantRate);
    }
}
BENCHMARK(AllNumbersBaseline)->Unit(benchmark::kMillisecond);

void SparseOverTheStore(benchmark::State& state) {
    const auto parsed = haoma::generate::parsePatterns("AAAAAAA");
    for (auto _ : state) {
        MatchRun run(storeSegments(), parsed.patterns, {}, "\n");
        drain(run, state);
    }
    state.counters["segments"] = static_cast<double>(storeSegments().size());
}
BENCHMARK(SparseOverTheStore)->Unit(benchmark::kMillisecond);

void CountPresetsOfBeijing(benchmark::State& state) {
    const auto path = std::filesystem::canonical("/proc/self/exe").parent_path() / "mobile.db";
    const auto store = haoma::lookup::SegmentStore::open(path.string());
    const auto segments = haoma::lookup::querySegments(store.get(), "北京", {}).rows;
    for (auto _ : state) {
        std::uint64_t total = 0;
        for (const auto& preset : haoma::generate::patternPresets()) {
            total += haoma::generate::countMatches(
                         segments, haoma::generate::parsePatterns(preset.patterns).patterns, {})
                         .value_or(0);
        }
        benchmark::DoNotOptimize(total);
    }
    state.counters["presets"] = static_cast<double>(haoma::generate::patternPresets().size());
}
BENCHMARK(CountPresetsOfBeijing)->Unit(benchmark::kMillisecond);

// Draws a seeded sample of the plan's run whole, in blocks as the command line writes it.
std::size_t drawSample(const haoma::generate::RunPlan& plan, std::uint64_t wanted,
                       std::uint64_t seed) {
    haoma::generate::SampleStream sample(plan, wanted, seed, false, "\n");
    std::string block;
    std::size_t bytes = 0;
    while (!sample.finished()) {
        block.clear();
        sample.next(1 << 18, block);
        bytes += block.size();
    }
    return bytes;
}

void SampleAMillionOfAThousandMillion(benchmark::State& state) {
    haoma::generate::RunPlan plan;
    plan.segments = consecutiveSegments(1300000, 100000);  // 10^9 numbers
    for (auto _ : state) {
        benchmark::DoNotOptimize(drawSample(plan, 1000000, 1));
    }
}
BENCHMARK(SampleAMillionOfAThousandMillion)->Unit(benchmark::kMillisecond);

const std::vector<std::string>& guangdong() {
    static const std::vector<std::string> segments = [] {
        const auto path = std::filesystem::canonical("/proc/self/exe").parent_path() / "mobile.db";
        const auto store = haoma::lookup::SegmentStore::open(path.string());
        return store ? store->segmentsOfProvince("广东", haoma::lookup::Carrier::Any).rows
                     : std::vector<std::string>{};
    }();
    return segments;
}

// A sample of 1,000 of a union, drawn by rank; `blank`: over one blank line.
void SampleOfAUnion(benchmark::State& state, bool blank) {
    haoma::generate::RunPlan plan;
    plan.segments = blank ? std::vector<std::string>{""} : guangdong();
    plan.patterns = haoma::generate::parsePatterns("A+++,AAAA").patterns;
    for (auto _ : state) {
        benchmark::DoNotOptimize(drawSample(plan, 1000, 7));
    }
    state.counters["segments"] = static_cast<double>(plan.segments.size());
}
BENCHMARK_CAPTURE(SampleOfAUnion, Guangdong, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SampleOfAUnion, BlankLine, true)->Unit(benchmark::kMillisecond);

void SampleOfPrettyWithContains(benchmark::State& state) {
    haoma::generate::RunPlan plan;
    plan.segments = guangdong();
    plan.pretty.emplace();
    plan.pretty->fill(true);
    plan.rule = {haoma::generate::digitsWithout("4"), {"8"}};
    for (auto _ : state) {
        benchmark::DoNotOptimize(drawSample(plan, 1000, 7));
    }
}
BENCHMARK(SampleOfPrettyWithContains)->Unit(benchmark::kMillisecond);

// --count with --contains over a blank line: computed, not walked.
void CountWithContainsOverABlankLine(benchmark::State& state) {
    const haoma::generate::TailRule rule{haoma::generate::digitsWithout("4"), {"88"}};
    for (auto _ : state) {
        benchmark::DoNotOptimize(haoma::generate::countMatches({""}, {}, rule));
    }
}
BENCHMARK(CountWithContainsOverABlankLine)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
