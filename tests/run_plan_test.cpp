// SPDX-License-Identifier: MIT
// One run, described once: its count, its stream and its samples agree with each other and
// with independent oracles (a plain filter over the run without its rule, the same lines
// written out instead of repeated); the sequential draw is uniform; the bounds hold.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "generate/number_space.h"
#include "generate/run_plan.h"
#include "generate/run_stream.h"
#include "generate/sample_stream.h"
#include "generate/sequential_sample.h"
#include "text/text.h"

namespace haoma::generate {
namespace {

using Lines = std::vector<std::string>;

Lines linesOf(const std::string& text) {
    return text.empty() ? Lines{} : text::split(text.substr(0, text.size() - 1), "\n");
}

Lines streamed(const RunPlan& plan) {
    RunStream run(plan, "\n");
    std::string out;
    while (!run.finished()) {
        if (run.next(std::size_t{1} << 16, out) == 0 && !run.finished()) {
            break;
        }
    }
    EXPECT_EQ(run.fault(), RunFault::None);
    return linesOf(out);
}

Lines sampled(const RunPlan& plan, std::uint64_t wanted, std::uint64_t seed, bool shuffle) {
    SampleStream sample(plan, wanted, seed, shuffle, "\n");
    std::string out;
    while (!sample.finished()) {
        sample.next(997, out);  // an odd block size: blocks never align with parts
    }
    EXPECT_EQ(sample.fault(), RunFault::None);
    return linesOf(out);
}

// The plain filter: the rule checked on each number's digits after its line, or whole.
bool passes(const std::string& number, const std::string& line, const std::string& without,
            const Lines& contains, bool whole) {
    const std::string digits =
        whole ? number
              : number.substr(number.size() - std::min<std::size_t>(
                                                  number.size(), 11 - static_cast<std::size_t>(
                                                                          text::gbkLength(line))));
    for (const char c : without) {
        if (digits.find(c) != std::string::npos) {
            return false;
        }
    }
    return std::all_of(contains.begin(), contains.end(), [&](const std::string& wanted) {
        return digits.find(wanted) != std::string::npos;
    });
}

struct Selection {
    const char* name;
    std::optional<WantedKinds> pretty;
    const char* patterns;  // "" for none
};

WantedKinds allKinds() {
    WantedKinds kinds{};
    kinds.fill(true);
    return kinds;
}

WantedKinds someKinds() {
    WantedKinds kinds{};
    kinds[static_cast<std::size_t>(PatternKind::AAA)] = true;
    kinds[static_cast<std::size_t>(PatternKind::ABAB)] = true;
    kinds[static_cast<std::size_t>(PatternKind::DCBA)] = true;
    return kinds;
}

struct Rule {
    const char* without;
    Lines contains;
    bool whole;
};

// Lines where faults hide: a short one (100,000 numbers), one of 8 digits, one of 11, one
// too long, names whose characters count two bytes, a repeat.
const Lines kLines = {"1380013", "138001",  "13800138", "1380013800", "138001380001",
                      "北京1",   "1380013", "北京13",   "13900139000"};

// For each selection and rule: the stream under the rule is the plain filter of the stream
// without it; the count is the stream's length; a sample lies in the stream, in its order.
TEST(RunPlan, CountStreamAndSampleAgreeWithAPlainFilter) {
    const Selection selections[] = {
        {"every number", std::nullopt, ""},       {"pretty, all kinds", allKinds(), ""},
        {"pretty, three kinds", someKinds(), ""}, {"a union", std::nullopt, "A+++,AAAA,*88"},
        {"letters", std::nullopt, "ABAB*"},
    };
    const Rule rules[] = {
        {"", {}, false},           {"4", {}, false},         {"", {"8"}, false},
        {"37", {"0", "1"}, false}, {"", {"138"}, true},      {"4", {"00"}, true},
        {"", {"99", "9"}, false},  {"", {"13", "80"}, true},
    };
    for (const auto& selection : selections) {
        RunPlan plain;
        plain.segments = kLines;
        plain.pretty = selection.pretty;
        plain.patterns = parsePatterns(selection.patterns).patterns;
        const Lines everything = streamed(plain);
        ASSERT_FALSE(everything.empty()) << selection.name;
        for (const auto& rule : rules) {
            RunPlan plan = plain;
            plan.rule = {digitsWithout(rule.without), rule.contains, rule.whole};
            const std::string label = std::string(selection.name) + " without '" + rule.without +
                                      "' contains " + std::to_string(rule.contains.size()) +
                                      (rule.whole ? " whole" : "");
            // The oracle: the plain run of each line (and kind) alone, filtered, in the run's
            // order: kind after kind, line after line.
            Lines expected;
            std::vector<std::optional<WantedKinds>> turns = {std::nullopt};
            if (selection.pretty) {
                turns.clear();
                for (std::size_t kind = 0; kind < kPatternKindCount; ++kind) {
                    if ((*selection.pretty)[kind]) {
                        turns.emplace_back(WantedKinds{})->at(kind) = true;
                    }
                }
            }
            for (const auto& turn : turns) {
                for (const auto& line : kLines) {
                    RunPlan alone = plain;
                    alone.segments = {line};
                    alone.pretty = turn;
                    for (const auto& number : streamed(alone)) {
                        if (passes(number, line, rule.without, rule.contains, rule.whole)) {
                            expected.push_back(number);
                        }
                    }
                }
            }
            const Lines got = streamed(plan);
            ASSERT_EQ(got, expected) << label;
            const RunCount counted = countRun(plan);
            EXPECT_EQ(counted.fault, RunFault::None) << label;
            EXPECT_EQ(counted.numbers, got.size()) << label;
            if (got.empty()) {
                continue;
            }
            const std::set<std::string> members(got.begin(), got.end());
            const std::uint64_t wanted = std::max<std::size_t>(1, got.size() / 3);
            const Lines sample = sampled(plan, wanted, 11, false);
            EXPECT_EQ(sample.size(), wanted) << label;
            // In the run's order: the sample is a subsequence of the run.
            auto at = got.begin();
            for (const auto& number : sample) {
                at = std::find(at, got.end(), number);
                ASSERT_NE(at, got.end()) << label << ": " << number << " out of order or unknown";
                ++at;
            }
            const Lines shuffled = sampled(plan, wanted, 11, true);
            EXPECT_EQ(shuffled.size(), wanted) << label;
            EXPECT_TRUE(std::all_of(shuffled.begin(), shuffled.end(), [&](const std::string& n) {
                return members.contains(n);
            })) << label;
            EXPECT_EQ(sampled(plan, wanted, 11, false), sample) << label << ": one seed";
        }
    }
}

// A line standing many times is a line written out that many times: the count and the
// samples of both plans are the same numbers.
TEST(RunPlan, RepeatedLinesAreTheLinesWrittenOut) {
    RunPlan repeated;
    repeated.segments = {"1380013", "13800", "1380013"};
    repeated.repeats = {3, 1, 2};
    repeated.patterns = parsePatterns("*8,A+++").patterns;
    RunPlan written = repeated;
    written.repeats.clear();
    written.segments = {"1380013", "1380013", "1380013", "13800", "1380013", "1380013"};
    EXPECT_EQ(countRun(repeated).numbers, countRun(written).numbers);
    for (const bool shuffle : {false, true}) {
        EXPECT_EQ(sampled(repeated, 700, 5, shuffle), sampled(written, 700, 5, shuffle));
    }
    // A limit caps a sample's size, drawn from the whole run.
    RunPlan limited = written;
    limited.limit = 50;
    const Lines capped = sampled(limited, 700, 5, false);
    EXPECT_EQ(capped.size(), 50U);
    const Lines first = [&] {
        RunPlan whole = written;
        whole.limit = 50;
        return streamed(whole);
    }();
    EXPECT_EQ(first.size(), 50U);
    EXPECT_NE(capped, first);
}

// The sequential draw: ascending, distinct, of the size asked; every subset equally likely
// (dense: method A) and every rank equally likely (sparse: method D).
TEST(SequentialSample, DrawsEveryRankAndSubsetAlike) {
    const std::pair<std::uint64_t, std::uint64_t> sizes[] = {
        {6, 3}, {10, 1}, {10, 10}, {1000, 999}, {50, 2}, {100000000000ULL, 20}, {7, 0}, {3, 9}};
    for (const auto& [population, wanted] : sizes) {
        RankRandom random(population + wanted);
        SequentialSample draw(population, wanted, random);
        std::vector<std::uint64_t> ranks;
        while (const auto rank = draw.next()) {
            ASSERT_LT(*rank, population);
            ASSERT_TRUE(ranks.empty() || ranks.back() < *rank);
            ranks.push_back(*rank);
        }
        EXPECT_EQ(ranks.size(), std::min(population, wanted));
    }
    // The 20 subsets of 3 of 6, 100,000 draws: chi-square with 19 degrees of freedom, the
    // 0.1 % critical value 43.82.
    std::map<std::vector<std::uint64_t>, double> subsets;
    constexpr int kDraws = 100000;
    for (int seed = 0; seed < kDraws; ++seed) {
        RankRandom random(static_cast<std::uint64_t>(seed));
        SequentialSample draw(6, 3, random);
        std::vector<std::uint64_t> ranks;
        while (const auto rank = draw.next()) {
            ranks.push_back(*rank);
        }
        subsets[ranks] += 1;
    }
    ASSERT_EQ(subsets.size(), 20U);
    double chi = 0;
    for (const auto& [subset, seen] : subsets) {
        chi += (seen - kDraws / 20.0) * (seen - kDraws / 20.0) / (kDraws / 20.0);
    }
    EXPECT_LT(chi, 43.82);
    // Sparse: 5 of 1,000, each rank's share; 999 degrees of freedom, 0.1 % critical 1143.
    std::vector<double> seen(1000);
    for (int seed = 0; seed < kDraws; ++seed) {
        RankRandom random(static_cast<std::uint64_t>(seed) * 7919);
        SequentialSample draw(1000, 5, random);
        while (const auto rank = draw.next()) {
            seen[*rank] += 1;
        }
    }
    const double expected = kDraws * 5 / 1000.0;
    chi = 0;
    for (const double count : seen) {
        chi += (count - expected) * (count - expected) / expected;
    }
    EXPECT_LT(chi, 1143.0);
}

// Counts past 2^64 - 1 are an error, never a saturated number; strings that cannot fit in
// the digits left are known to give nothing at once; a rule needing more states than allowed
// is refused, not left to grow.
TEST(RunPlan, BoundsOfCounts) {
    RunPlan every;
    RunCounter counter(every);
    EXPECT_TRUE(counter.add("", 184467440));  // 1.8446744 x 10^19
    EXPECT_FALSE(counter.add("", 1));
    EXPECT_EQ(counter.total().fault, RunFault::Overflow);

    RunPlan many;
    many.segments = {""};
    for (int i = 10; i < 74; ++i) {
        many.rule.contains.push_back(std::to_string(i * 7));
    }
    const RunCount none = countRun(many);
    EXPECT_EQ(none.fault, RunFault::None);
    EXPECT_EQ(none.numbers, 0U);

    TailRule rule;
    rule.contains = {"12", "34", "5", "6"};
    NumberSpace small({}, rule, {}, 50);
    small.reset("");
    EXPECT_TRUE(small.tooComplex());
    NumberSpace enough({}, rule, {});
    enough.reset("");
    EXPECT_FALSE(enough.tooComplex());
    EXPECT_GT(enough.count(), 0U);
}

}  // namespace
}  // namespace haoma::generate
