// SPDX-License-Identifier: MIT
// The pattern language and its enumerator, against a plain filter over every number written
// here separately; the window's nine kinds as patterns; counts and samples.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

#include "generate/digit_pattern.h"
#include "generate/match_run.h"
#include "generate/number_walk.h"
#include "generate/pattern_kind.h"
#include "generate/pattern_presets.h"
#include "generate/sample_stream.h"
#include "text/text.h"

namespace haoma::generate {
namespace {

using Lines = std::vector<std::string>;

// --- The oracle: a number as 11 GBK cells, a pattern read straight from its text. ---

std::string cellsOf(const std::string& number) {
    std::string cells;
    for (std::size_t at = 0; at < number.size();) {
        std::size_t next = at + 1;
        if (static_cast<unsigned char>(number[at]) >= 0x80) {
            while (next < number.size() &&
                   (static_cast<unsigned char>(number[next]) & 0xC0) == 0x80) {
                ++next;
            }
            cells.append(static_cast<std::size_t>(text::gbkLength(number.substr(at, next - at))),
                         '#');
        } else {
            cells += number[at];
        }
        at = next;
    }
    return cells;
}

// The digits a "[...]" text allows.
std::set<char> setDigits(const std::string& inside) {
    std::set<char> digits;
    const bool negated = !inside.empty() && inside[0] == '^';
    for (std::size_t i = negated ? 1 : 0; i < inside.size(); ++i) {
        char last = inside[i];
        if (i + 2 < inside.size() + 0 && inside[i + 1] == '-') {
            last = inside[i + 2];
            for (char c = inside[i]; c <= last; ++c) {
                digits.insert(c);
            }
            i += 2;
        } else {
            digits.insert(inside[i]);
        }
    }
    if (!negated) {
        return digits;
    }
    std::set<char> rest;
    for (char c = '0'; c <= '9'; ++c) {
        if (!digits.contains(c)) {
            rest.insert(c);
        }
    }
    return rest;
}

// The positions of a pattern text as texts: "7", "*", "[0-3]", "A", "+".
std::vector<std::string> positionsOf(const std::string& pattern) {
    std::vector<std::string> positions;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '[') {
            const auto close = pattern.find(']', i);
            positions.push_back(pattern.substr(i, close - i + 1));
            i = close;
        } else {
            positions.push_back(pattern.substr(i, 1));
        }
    }
    return positions;
}

bool oracleMatches(const std::string& cells, const std::vector<std::string>& positions) {
    if (positions.size() > cells.size()) {
        return false;
    }
    const std::size_t first = cells.size() - positions.size();
    std::map<char, char> letters;
    for (std::size_t i = 0; i < positions.size(); ++i) {
        const char cell = cells[first + i];
        const std::string& p = positions[i];
        if (cell < '0' || cell > '9') {
            return false;
        }
        if (p[0] >= '0' && p[0] <= '9') {
            if (cell != p[0])
                return false;
        } else if (p[0] == '[') {
            if (!setDigits(p.substr(1, p.size() - 2)).contains(cell))
                return false;
        } else if (p[0] >= 'A' && p[0] <= 'J') {
            if (letters.contains(p[0]) && letters[p[0]] != cell)
                return false;
            letters[p[0]] = cell;
        } else if (p[0] == '+' || p[0] == '-') {
            const char before = cells[first + i - 1];
            if (before < '0' || before > '9' || cell != before + (p[0] == '+' ? 1 : -1))
                return false;
        }
    }
    std::set<char> values;
    for (const auto& [letter, value] : letters) {
        values.insert(value);
    }
    return values.size() == letters.size();
}

struct OracleRule {
    std::string without;
    std::vector<std::string> contains;
};

bool oracleAccepts(const std::string& filler, const OracleRule& rule) {
    for (const char c : filler) {
        if (rule.without.find(c) != std::string::npos)
            return false;
    }
    for (const auto& wanted : rule.contains) {
        if (filler.find(wanted) == std::string::npos)
            return false;
    }
    return true;
}

// The first `wanted` matching numbers of a segment among its first `scan` fillers.
Lines oracle(const std::string& segment, const std::vector<std::string>& patterns,
             const OracleRule& rule, std::size_t wanted, std::uint64_t scan) {
    Lines found;
    const int width = 11 - text::gbkLength(segment);
    if (width < 0) {
        return found;
    }
    std::vector<std::vector<std::string>> parsed;
    for (const auto& pattern : patterns) {
        parsed.push_back(positionsOf(pattern));
    }
    std::uint64_t fillers = 1;
    for (int i = 0; i < width; ++i)
        fillers *= 10;
    for (std::uint64_t f = 0; f < std::min(fillers, scan) && found.size() < wanted; ++f) {
        std::string filler = width == 0 ? std::string() : std::to_string(f);
        filler.insert(0, static_cast<std::size_t>(width) - filler.size(), '0');
        const std::string number = segment + filler;
        const std::string cells = cellsOf(number);
        bool any = false;
        for (const auto& positions : parsed) {
            any = any || oracleMatches(cells, positions);
        }
        if (any && oracleAccepts(filler, rule)) {
            found.push_back(number);
        }
    }
    return found;
}

Lines runLines(const Lines& segments, const std::string& list, const OracleRule& rule,
               std::uint64_t limit) {
    auto parsed = parsePatterns(list);
    EXPECT_FALSE(parsed.error) << list;
    MatchRun run(segments, parsed.patterns, {digitsWithout(rule.without), rule.contains}, "\n");
    std::string out;
    while (!run.finished()) {
        run.next(limit, 4096, out);
    }
    return text::split(out.empty() ? out : out.substr(0, out.size() - 1), "\n");
}

// --- Random patterns over random segments. ---

std::string randomPosition(std::mt19937& rng, bool first) {
    switch (rng() % (first ? 4 : 6)) {
        case 0:
            return std::string(1, static_cast<char>('0' + rng() % 10));
        case 1:
            return "*";
        case 2: {
            const int low = static_cast<int>(rng() % 10);
            const int high = low + static_cast<int>(rng() % static_cast<unsigned>(10 - low));
            const char a = static_cast<char>('0' + low);
            const char b = static_cast<char>('0' + high);
            return std::string(rng() % 2 ? "[^" : "[") + a + "-" + b + (rng() % 2 ? "7" : "") + "]";
        }
        case 3:
            return std::string(1, static_cast<char>('A' + rng() % 4));
        case 4:
            return "+";
        default:
            return "-";
    }
}

std::string randomPattern(std::mt19937& rng) {
    std::string pattern;
    const int length = 1 + static_cast<int>(rng() % 7);
    for (int i = 0; i < length; ++i) {
        std::string position = randomPosition(rng, i == 0);
        if (position[0] == '[' && setDigits(position.substr(1, position.size() - 2)).empty()) {
            position = "*";
        }
        pattern += position;
    }
    return pattern;
}

std::string randomSegment(std::mt19937& rng) {
    static const std::vector<std::string> odd = {
        "",           "13800",       "1380013",      "13800138", "123456789",
        "1234567890", "12345678901", "123456789012", "北京",     "138a",
        "7",          "99999",       "12",           "0123"};
    std::string segment = odd[rng() % odd.size()];
    if (rng() % 2 && !segment.empty() && segment[0] >= '0' && segment[0] <= '9') {
        for (char& c : segment) {
            if (c >= '0' && c <= '9' && rng() % 3 == 0)
                c = static_cast<char>('0' + rng() % 10);
        }
    }
    return segment;
}

TEST(MatchOracle, RandomPatternsAgreeWithAPlainFilter) {
    std::mt19937 rng(2026);
    constexpr std::size_t kWanted = 150;
    constexpr std::uint64_t kScan = 200000;
    for (int round = 0; round < 400; ++round) {
        std::vector<std::string> patterns = {randomPattern(rng)};
        if (rng() % 4 == 0)
            patterns.push_back(randomPattern(rng));
        OracleRule rule;
        if (rng() % 4 == 0)
            rule.without = std::string(1, static_cast<char>('0' + rng() % 10));
        if (rng() % 5 == 0)
            rule.contains = {std::to_string(rng() % 10)};
        const std::string segment = randomSegment(rng);
        std::string list = patterns[0];
        if (patterns.size() > 1)
            list += "," + patterns[1];
        const Lines expected = oracle(segment, patterns, rule, kWanted, kScan);
        Lines got = runLines({segment}, list, rule, kWanted);
        const int width = 11 - text::gbkLength(segment);
        if (expected.size() < kWanted && width > 5) {
            // The scan stopped early: compare below the fillers it reached.
            std::erase_if(got, [&](const std::string& number) {
                return std::stoull(
                           number.substr(number.size() - static_cast<std::size_t>(width))) >= kScan;
            });
        }
        EXPECT_EQ(got, expected) << "pattern " << list << " segment '" << segment << "' without '"
                                 << rule.without << "'";
        ASSERT_TRUE(std::is_sorted(got.begin(), got.end())) << list;
    }
}

TEST(MatchOracle, CountsAgreeWithThePlainFilter) {
    std::mt19937 rng(7);
    for (int round = 0; round < 60; ++round) {
        std::vector<std::string> patterns = {randomPattern(rng)};
        if (rng() % 3 == 0)
            patterns.push_back(randomPattern(rng));
        OracleRule rule;
        if (rng() % 3 == 0)
            rule.without = std::to_string(rng() % 10);
        if (rng() % 4 == 0)
            rule.contains = {std::to_string(rng() % 10)};
        // Segments with at most five filler digits: the filter sees every number.
        const std::vector<std::string> segments = {"138001", "1380013", "13800138", "北京a1",
                                                   "1234567890"};
        std::string list = patterns[0];
        if (patterns.size() > 1)
            list += "," + patterns[1];
        const auto parsed = parsePatterns(list);
        std::uint64_t expected = 0;
        for (const auto& segment : segments) {
            expected += oracle(segment, patterns, rule, SIZE_MAX, 1000000).size();
        }
        EXPECT_EQ(
            countMatches(segments, parsed.patterns, {digitsWithout(rule.without), rule.contains})
                .value(),
            expected)
            << list;
    }
}

// --- The window's nine kinds as patterns. ---

// The window's pretty run leaves out a three-digit kind's number when the filler digit
// before the suffix is the suffix row's skip digit (mostly the digit that would make it a
// four-digit run, e.g. 1111 is not an AAA number, and at the table's end 012 after 1). The
// pattern has no such rule: it gives those numbers too.
TEST(MatchKinds, TheNineKindsAsPatternsGiveThePrettyNumbersAndTheSkippedOnes) {
    const std::map<PatternKind, std::string> written = {
        {PatternKind::AAAA, "AAAA"}, {PatternKind::ABCD, "A+++"}, {PatternKind::DCBA, "A---"},
        {PatternKind::AAA, "AAA"},   {PatternKind::ABC, "A++"},   {PatternKind::CBA, "A--"},
        {PatternKind::AABB, "AABB"}, {PatternKind::ABAB, "ABAB"}, {PatternKind::ABBA, "ABBA"}};
    const Lines segments = {"1380013", "1390000", "1861234", "1999999", "1300120"};
    for (const auto& row : patternTable()) {
        NumberWalk walk = NumberWalk::pattern(segments, row.kind, "\n");
        std::string out;
        while (!walk.finished()) {
            walk.produce(4096, out);
        }
        const Lines pretty = text::split(out.substr(0, out.size() - 1), "\n");
        const Lines matched = runLines(segments, written.at(row.kind), {}, UINT64_MAX);
        const auto length = static_cast<std::size_t>(row.suffixLength);
        Lines expected;
        for (const auto& number : matched) {
            // Seven-digit segments: the four-digit kinds have no filler, the three-digit ones
            // a filler of one digit, number[7], which the skip rule looks at.
            char skip = '\0';
            for (const auto& candidate : row.suffixes) {
                if (std::string_view(candidate.digits.data(), length) ==
                    number.substr(11 - length)) {
                    skip = candidate.skipWhenFillerEndsWith;
                }
            }
            if (!(length == 3 && skip != '\0' && number[7] == skip)) {
                expected.push_back(number);
            }
        }
        // Both are ascending inside a segment and segment by segment.
        EXPECT_EQ(pretty, expected) << row.name;
        EXPECT_EQ(pretty.size() < matched.size(), length == 3) << row.name;
    }
}

// --- Parsing. ---

TEST(PatternSyntax, ErrorsPointAtTheirPosition) {
    const std::pair<const char*, std::size_t> errors[] = {
        {"", 0},       {"AB[3", 2},   {"+1", 0},  {"12,,3", 3}, {"[]", 0},
        {"[^0-9]", 0}, {"[5-2]", 2},  {"12x", 2}, {"ab", 0},    {"123456789012", 11},
        {"[1a]", 2},   {"AAAA,-", 5}, {"1 2", 1},
    };
    for (const auto& [text, position] : errors) {
        const auto parsed = parsePatterns(text);
        ASSERT_TRUE(parsed.error.has_value()) << text;
        EXPECT_EQ(parsed.error->position, position) << text << ": " << parsed.error->message;
        EXPECT_TRUE(parsed.patterns.empty());
    }
    const auto good = parsePatterns("[0-35]A+,*[^4]9-");
    ASSERT_FALSE(good.error) << good.error->message;
    ASSERT_EQ(good.patterns.size(), 2U);
    EXPECT_EQ(good.patterns[0].positions[0].digits, 0b101111);
    EXPECT_EQ(good.patterns[1].positions[1].digits, kAnyDigit & ~(1 << 4));
    for (const auto& preset : patternPresets()) {
        EXPECT_FALSE(parsePatterns(preset.patterns).error) << preset.name;
    }
}

TEST(PatternPresets, TheTableSaysWhatTheNamesPromise) {
    const auto numbersOf = [](const char* name) {
        return runLines({"1380013"}, std::string(patternPresetByName(name)->patterns), {},
                        UINT64_MAX);
    };
    EXPECT_EQ(numbersOf("birthday").size(), 366U);  // every day of a leap year
    EXPECT_EQ(numbersOf("year").size(), 200U);
    EXPECT_EQ(numbersOf("abcde"), Lines{"13800134567"});  // the run may start in the segment
    EXPECT_EQ(runLines({"1380012"}, "A++++", {}, UINT64_MAX), (Lines{"13800123456"}));
    EXPECT_EQ(numbersOf("LOVE").size(), 41U);
    EXPECT_FALSE(patternPresetByName("lovely").has_value());
}

// --- Samples. ---

Lines sampleOf(const Lines& segments, const std::vector<DigitPattern>& patterns,
               const TailRule& rule, std::uint64_t wanted, std::uint64_t seed) {
    RunPlan plan;
    plan.segments = segments;
    plan.patterns = patterns;
    plan.rule = rule;
    SampleStream sample(plan, wanted, seed, false, "\n");
    std::string out;
    while (!sample.finished()) {
        sample.next(1 << 16, out);
    }
    return out.empty() ? Lines{} : text::split(out.substr(0, out.size() - 1), "\n");
}

TEST(MatchSample, DistinctFromTheOutputRepeatableAndEvenlySpread) {
    const Lines segments = {"1380013", "1390000", "1861234", "1770000", "1500000", "13801"};
    const auto parsed = parsePatterns("*[^4]*");
    const TailRule rule{digitsWithout("7"), {}};
    const Lines all = [&] {
        MatchRun run(segments, parsed.patterns, rule, "\n");
        std::string out;
        while (!run.finished())
            run.next(UINT64_MAX, 1 << 16, out);
        return text::split(out.substr(0, out.size() - 1), "\n");
    }();
    const std::set<std::string> universe(all.begin(), all.end());
    const Lines sample = sampleOf(segments, parsed.patterns, rule, 4000, 42);
    ASSERT_EQ(sample.size(), 4000U);
    EXPECT_EQ(std::set<std::string>(sample.begin(), sample.end()).size(), sample.size());
    for (const auto& number : sample) {
        ASSERT_TRUE(universe.contains(number)) << number;
    }
    // In the run's order.
    std::map<std::string, std::size_t> place;
    for (std::size_t i = 0; i < all.size(); ++i)
        place[all[i]] = i;
    EXPECT_TRUE(std::is_sorted(sample.begin(), sample.end(),
                               [&](auto& a, auto& b) { return place[a] < place[b]; }));
    EXPECT_EQ(sampleOf(segments, parsed.patterns, rule, 4000, 42), sample);
    // Chi-square over the segments: each holds its share of the numbers.
    const auto segmentOf = [&](const std::string& number) {
        for (const auto& segment : segments) {
            if (number.starts_with(segment)) {
                return segment;
            }
        }
        return std::string();
    };
    std::map<std::string, double> expectedShare, observed;
    for (const auto& number : all) {
        expectedShare[segmentOf(number)] += 1;
    }
    for (const auto& number : sample) {
        observed[segmentOf(number)] += 1;
    }
    double chi = 0;
    for (const auto& [segment, count] : expectedShare) {
        const double expected = 4000.0 * count / static_cast<double>(all.size());
        chi += (observed[segment] - expected) * (observed[segment] - expected) / expected;
    }
    // 6 segments (13801 has fillers of 6 digits, the largest share): 5 degrees of freedom,
    // the 0.1 % critical value is 20.52.
    EXPECT_LT(chi, 20.52) << chi;
    // More wanted than there are: all of them.
    EXPECT_EQ(sampleOf({"1380013"}, parsePatterns("AAAA").patterns, {}, 50, 1).size(), 10U);
}

}  // namespace
}  // namespace haoma::generate
