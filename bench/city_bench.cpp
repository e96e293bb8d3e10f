// SPDX-License-Identifier: MIT
// The name association on every keystroke: a hit, a miss and a search that stops at 20, on
// the carried table and, as the baseline, on its first 879 records alone.
#include <benchmark/benchmark.h>

#include "lookup/city_table.h"

namespace {

void Find(benchmark::State& state, std::string_view table, const char* typed) {
    const haoma::lookup::CityRecords records(table);
    for (auto _ : state) {
        auto result = records.findCityNames(typed);
        benchmark::DoNotOptimize(result);
    }
}
void FindCityNames(benchmark::State& state, const char* typed) {
    Find(state, haoma::lookup::embeddedCityTable(), typed);
}
void FindInBaseTable(benchmark::State& state, const char* typed) {
    Find(state, haoma::lookup::baseCityTable(), typed);
}
#define HAOMA_KEYS(function)                                                         \
    BENCHMARK_CAPTURE(function, HitHhht, "hhht")->Unit(benchmark::kMicrosecond);     \
    BENCHMARK_CAPTURE(function, HitZz, "zz")->Unit(benchmark::kMicrosecond);         \
    BENCHMARK_CAPTURE(function, HitLishui, "lishui")->Unit(benchmark::kMicrosecond); \
    BENCHMARK_CAPTURE(function, MissXyz, "xyz")->Unit(benchmark::kMicrosecond);      \
    BENCHMARK_CAPTURE(function, MissChinese, "京")->Unit(benchmark::kMicrosecond);   \
    BENCHMARK_CAPTURE(function, StopsAtTwentyB, "b")->Unit(benchmark::kMicrosecond); \
    BENCHMARK_CAPTURE(function, StopsAtTwentyH, "h")->Unit(benchmark::kMicrosecond)
HAOMA_KEYS(FindCityNames);
HAOMA_KEYS(FindInBaseTable);

void LoadCityTable(benchmark::State& state) {
    for (auto _ : state) {
        haoma::lookup::CityRecords records;
        benchmark::DoNotOptimize(records);
    }
}
BENCHMARK(LoadCityTable)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
