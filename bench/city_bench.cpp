// SPDX-License-Identifier: MIT
// The name association on every keystroke: a hit, a miss and a search that stops at 20.
#include <benchmark/benchmark.h>

#include "lookup/city_table.h"

namespace {

void FindCityNames(benchmark::State& state, const char* typed) {
    const haoma::lookup::CityRecords records;
    for (auto _ : state) {
        auto result = records.findCityNames(typed);
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK_CAPTURE(FindCityNames, HitHhht, "hhht")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(FindCityNames, HitZz, "zz")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(FindCityNames, MissXyz, "xyz")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(FindCityNames, MissChinese, "京")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(FindCityNames, StopsAtTwentyB, "b")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(FindCityNames, StopsAtTwentyH, "h")->Unit(benchmark::kMicrosecond);

void LoadCityTable(benchmark::State& state) {
    for (auto _ : state) {
        haoma::lookup::CityRecords records;
        benchmark::DoNotOptimize(records);
    }
}
BENCHMARK(LoadCityTable)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
