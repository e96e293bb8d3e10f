// SPDX-License-Identifier: MIT
// Pattern tables, fillers, the number walk and the two runs, checked against a plain
// re-implementation of the rules that builds every candidate one by one.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "generate/filler.h"
#include "generate/number_walk.h"
#include "generate/pattern_kind.h"
#include "generate/runs.h"
#include "text/text.h"

namespace haoma::generate {
namespace {

using Lines = std::vector<std::string>;

// ---- The oracle: the rules written out literally ----

struct OracleKind {
    const char* name;
    int limit;
    std::vector<std::string> suffixes;
    // The text the filler's last character is compared with, for a suffix; empty: no rule.
    std::string (*skipText)(const std::string& suffix);
};

std::vector<std::string> words(const char* list) {
    std::vector<std::string> out;
    std::string word;
    for (const char* p = list;; ++p) {
        if (*p == ' ' || *p == '\0') {
            if (!word.empty()) {
                out.push_back(word);
            }
            word.clear();
            if (*p == '\0') {
                return out;
            }
        } else {
            word += *p;
        }
    }
}

std::vector<std::string> pairTable(const char* shape) {
    std::vector<std::string> out;
    for (char a = '0'; a <= '9'; ++a) {
        for (char b = '0'; b <= '9'; ++b) {
            if (a != b) {
                std::string s = shape;
                for (char& c : s) {
                    c = c == 'a' ? a : b;
                }
                out.push_back(s);
            }
        }
    }
    return out;
}

std::string noSkip(const std::string&) {
    return "";
}
std::string sameDigit(const std::string& s) {
    return s.substr(0, 1);
}
std::string firstMinusOne(const std::string& s) {
    return std::to_string(std::abs(s[0] - '0' - 1));
}
std::string firstPlusOne(const std::string& s) {
    return std::to_string(s[0] - '0' + 1);
}

const std::vector<OracleKind>& oracleKinds() {
    static const std::vector<OracleKind> kinds = {
        {"AAAA", 7, words("0000 1111 2222 3333 4444 5555 6666 7777 8888 9999"), noSkip},
        {"ABCD", 7, words("0123 1234 2345 3456 4567 5678 6789"), noSkip},
        {"DCBA", 7, words("3210 4321 5432 6543 7654 8765 9876"), noSkip},
        {"AAA", 8, words("000 111 222 333 444 555 666 777 888 999"), sameDigit},
        {"ABC", 8, words("012 123 234 345 456 567 678 789"), firstMinusOne},
        {"CBA", 8, words("210 321 432 543 654 765 876 987"), firstPlusOne},
        {"AABB", 7, pairTable("aabb"), noSkip},
        {"ABAB", 7, pairTable("abab"), noSkip},
        {"ABBA", 7, pairTable("abba"), noSkip},
    };
    return kinds;
}

std::string fillerText(long long value, int width) {
    std::string digits = std::to_string(value);
    if (width == 0) {
        return {};
    }
    return std::string(static_cast<std::size_t>(width) - digits.size(), '0') + digits;
}

long long power10(int n) {
    long long p = 1;
    while (n-- > 0) {
        p *= 10;
    }
    return p;
}

// Candidates of one kind over the segments, at most `cap` numbers.
Lines oraclePattern(const OracleKind& kind, const Lines& segments, std::size_t cap) {
    Lines out;
    for (const auto& s : segments) {
        const int length = text::gbkLength(s);
        if (length > kind.limit) {
            continue;
        }
        const int width = kind.limit - length;
        for (long long f = 0; f < power10(width); ++f) {
            const std::string filler = fillerText(f, width);
            for (const auto& x : kind.suffixes) {
                const std::string last = filler.empty() ? "" : filler.substr(filler.size() - 1);
                const std::string rule = kind.skipText(x);
                if (!rule.empty() && last == rule) {
                    continue;
                }
                if (out.size() == cap) {
                    return out;
                }
                out.push_back(s + filler + x);
            }
        }
    }
    return out;
}

Lines oracleAll(const Lines& segments, std::size_t cap) {
    Lines out;
    for (const auto& s : segments) {
        const int length = text::gbkLength(s);
        if (length > 11) {
            continue;
        }
        for (long long f = 0; f < power10(11 - length); ++f) {
            if (out.size() == cap) {
                return out;
            }
            out.push_back(s + fillerText(f, 11 - length));
        }
    }
    return out;
}

Lines linesOf(const std::string& text) {
    Lines out;
    for (auto& piece : text::split(text, "\n")) {
        out.push_back(piece);
    }
    return out;
}

// ---- Tables ----

TEST(PatternTable, RowsFollowTheFixedOrderAndShape) {
    const auto table = patternTable();
    ASSERT_EQ(table.size(), oracleKinds().size());
    for (std::size_t i = 0; i < table.size(); ++i) {
        const auto& row = table[i];
        const auto& oracle = oracleKinds()[i];
        EXPECT_EQ(row.name, oracle.name);
        EXPECT_EQ(row.segmentLimit, oracle.limit);
        EXPECT_EQ(row.segmentLimit + row.suffixLength, 11);
        ASSERT_EQ(row.suffixes.size(), oracle.suffixes.size()) << oracle.name;
        for (std::size_t k = 0; k < row.suffixes.size(); ++k) {
            EXPECT_EQ(std::string(row.suffixes[k].digits.data(),
                                  static_cast<std::size_t>(row.suffixLength)),
                      oracle.suffixes[k])
                << oracle.name << " " << k;
        }
    }
}

TEST(PatternTable, PairTablesBeginAndEndAsListed) {
    struct Case {
        PatternKind kind;
        std::vector<std::string> first;
        std::string last;
    };
    const Case cases[] = {
        {PatternKind::AABB, {"0011", "0022"}, "9988"},
        {PatternKind::ABAB, {"0101", "0202"}, "9898"},
        {PatternKind::ABBA, {"0110", "0220"}, "9889"},
    };
    for (const auto& c : cases) {
        const auto suffixes = patternRow(c.kind).suffixes;
        ASSERT_EQ(suffixes.size(), 90U);
        EXPECT_EQ(std::string(suffixes[0].digits.data(), 4), c.first[0]);
        EXPECT_EQ(std::string(suffixes[1].digits.data(), 4), c.first[1]);
        EXPECT_EQ(std::string(suffixes[89].digits.data(), 4), c.last);
    }
    EXPECT_EQ(std::string(patternRow(PatternKind::AABB).suffixes[9].digits.data(), 4), "1100");
    EXPECT_EQ(std::string(patternRow(PatternKind::ABAB).suffixes[9].digits.data(), 4), "1010");
    EXPECT_EQ(std::string(patternRow(PatternKind::ABBA).suffixes[9].digits.data(), 4), "1001");
}

TEST(PatternTable, KindNamesInAnyCase) {
    EXPECT_EQ(patternKindByName("abba"), PatternKind::ABBA);
    EXPECT_EQ(patternKindByName("AaA"), PatternKind::AAA);
    EXPECT_EQ(patternKindByName("AAAAA"), std::nullopt);
    EXPECT_EQ(patternKindByName(""), std::nullopt);
}

TEST(Filler, CountsUpInAscendingOrder) {
    for (int width : {1, 2, 3}) {
        std::string digits(static_cast<std::size_t>(width), 'x');
        FillerOdometer odometer(digits.data(), width);
        odometer.reset();
        long long expected = 0;
        do {
            ASSERT_EQ(digits, fillerText(expected, width));
            ++expected;
        } while (odometer.advance());
        EXPECT_EQ(expected, power10(width));
    }
    FillerOdometer empty(nullptr, 0);
    EXPECT_EQ(empty.lastDigit(), '\0');
    EXPECT_FALSE(empty.advance());
}

// ---- The walk against the oracle ----

const Lines kSegments = {"1380013",     "13800138",     "138001",  "",        "北京",
                         "12345678901", "123456789012", "1380013", "abc1234", "1\u3000345"};

TEST(NumberWalk, EveryKindMatchesTheOracle) {
    // Blank and short lines give millions of candidates: compare the first ones.
    const std::size_t cap = 30000;
    for (const auto& row : patternTable()) {
        const auto& oracle = oracleKinds()[static_cast<std::size_t>(row.kind)];
        for (const auto& segment : kSegments) {
            const Lines one = {segment};
            auto walk = NumberWalk::pattern(one, row.kind, "\n");
            std::string out;
            walk.produce(cap, out);
            EXPECT_EQ(linesOf(out), oraclePattern(oracle, one, cap)) << row.name << " " << segment;
        }
    }
}

TEST(NumberWalk, AllNumbersMatchTheOracle) {
    const std::size_t cap = 25000;
    auto walk = NumberWalk::allNumbers(kSegments, "\r\n");
    std::string out;
    walk.produce(cap, out);
    Lines expected;
    for (const auto& line : oracleAll(kSegments, cap)) {
        expected.push_back(line + "\r");
    }
    EXPECT_EQ(linesOf(out), expected);
}

TEST(NumberWalk, SlicesOfAnySizeJoinToTheSameOutput) {
    const Lines segments = {"1380013", "", "13800138", "123456789012", "1390000"};
    std::mt19937 rng(11);
    for (const PatternKind kind : {PatternKind::AAA, PatternKind::ABBA}) {
        auto whole = NumberWalk::pattern(segments, kind, "\n");
        std::string expected;
        whole.produce(5000, expected);
        auto sliced = NumberWalk::pattern(segments, kind, "\n");
        std::string out;
        std::size_t total = 0;
        while (total < 5000) {
            const std::size_t n = std::min<std::size_t>(1 + rng() % 37, 5000 - total);
            ASSERT_EQ(sliced.produce(n, out), n);
            total += n;
        }
        EXPECT_EQ(out, expected);
    }
    auto whole = NumberWalk::allNumbers(segments, "\n");
    std::string expected;
    whole.produce(40000, expected);
    auto sliced = NumberWalk::allNumbers(segments, "\n");
    std::string out;
    for (std::size_t total = 0; total < 40000;) {
        const std::size_t n = std::min<std::size_t>(1 + rng() % 23, 40000 - total);
        ASSERT_EQ(sliced.produce(n, out), n);
        total += n;
    }
    EXPECT_EQ(out, expected);
}

TEST(NumberWalk, CountsPerSegmentLength) {
    // Rows: segment lengths 6, 7, 8, 9; columns: the kinds in table order.
    const std::map<std::string, std::vector<std::size_t>> counts = {
        {"138001", {100, 70, 70, 900, 720, 730, 900, 900, 900}},
        {"1380013", {10, 7, 7, 90, 72, 73, 90, 90, 90}},
        {"13800138", {0, 0, 0, 10, 8, 8, 0, 0, 0}},
        {"138001389", {0, 0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const auto& [segment, expected] : counts) {
        const Lines one = {segment};
        for (const auto& row : patternTable()) {
            auto walk = NumberWalk::pattern(one, row.kind, "\n");
            std::string out;
            EXPECT_EQ(walk.produce(1'000'000, out), expected[static_cast<std::size_t>(row.kind)])
                << segment << " " << row.name;
            EXPECT_TRUE(walk.finished());
        }
    }
}

TEST(NumberWalk, CountsAgreeWithTheWalk) {
    const Lines segments = {"1380013", "13800138", "138001", "12345", "北京1", "123456789012"};
    for (const auto& row : patternTable()) {
        auto walk = NumberWalk::pattern(segments, row.kind, "\n");
        std::string out;
        std::uint64_t produced = 0;
        while (!walk.finished()) {
            out.clear();
            produced += walk.produce(1 << 16, out);
        }
        EXPECT_EQ(countPatternNumbers(segments, row.kind), produced) << row.name;
    }
    EXPECT_EQ(countAllNumbers(segments), 10000U + 1000 + 100000 + 1000000 + 1000000 + 0);
    EXPECT_EQ(countAllNumbers(Lines(300, "")), 300ULL * 100'000'000'000ULL);
}

TEST(NumberWalk, AllKindsOnASevenDigitSegmentGive529DistinctNumbers) {
    const Lines one = {"1380013"};
    std::set<std::string> seen;
    std::size_t total = 0;
    for (const auto& row : patternTable()) {
        auto walk = NumberWalk::pattern(one, row.kind, "\n");
        std::string out;
        walk.produce(10'000, out);
        for (const auto& line : linesOf(out)) {
            EXPECT_EQ(line.size(), 11U);
            EXPECT_TRUE(line.starts_with("1380013"));
            seen.insert(line);
            ++total;
        }
    }
    EXPECT_EQ(total, 529U);
    EXPECT_EQ(seen.size(), 529U);
}

TEST(NumberWalk, SkipRulesAtTheEndsOfTheTables) {
    const auto numbers = [](PatternKind kind, const std::string& segment) {
        const Lines one = {segment};
        auto walk = NumberWalk::pattern(one, kind, "\n");
        std::string out;
        walk.produce(100'000, out);
        const auto lines = linesOf(out);
        return std::set<std::string>(lines.begin(), lines.end());
    };
    const auto abc = numbers(PatternKind::ABC, "1380013");
    EXPECT_FALSE(abc.contains("13800131012"));
    EXPECT_TRUE(abc.contains("13800130012"));
    EXPECT_FALSE(abc.contains("13800130123"));
    EXPECT_TRUE(abc.contains("13800132123"));
    const auto cba = numbers(PatternKind::CBA, "1380013");
    EXPECT_FALSE(cba.contains("13800133210"));
    EXPECT_TRUE(cba.contains("13800130987"));
    EXPECT_TRUE(cba.contains("13800139987"));
    const auto aaa = numbers(PatternKind::AAA, "1380013");
    EXPECT_FALSE(aaa.contains("13800130000"));
    EXPECT_TRUE(aaa.contains("13800131000"));
    // An 8-digit segment: empty filler, nothing skipped, even where it ends in the digit.
    const auto aaa8 = numbers(PatternKind::AAA, "13800133");
    EXPECT_EQ(aaa8.size(), 10U);
    EXPECT_TRUE(aaa8.contains("13800133333"));
    EXPECT_TRUE(aaa8.contains("13800133000"));
}

TEST(NumberWalk, OrderWithinAKindIsSegmentFillerSuffix) {
    const Lines segments = {"1380013", "1390000"};
    auto walk = NumberWalk::pattern(segments, PatternKind::AAA, "\n");
    std::string out;
    walk.produce(12, out);
    const Lines expected = {"13800130111", "13800130222", "13800130333", "13800130444",
                            "13800130555", "13800130666", "13800130777", "13800130888",
                            "13800130999", "13800131000", "13800131222", "13800131333"};
    EXPECT_EQ(linesOf(out), expected);
}

TEST(NumberWalk, LinesAreUsedUnchangedAndMeasuredInGbkBytes) {
    // "北京" is 4 GBK bytes: a filler of 7 digits for all numbers, 3 for AAAA.
    const Lines segments = {"北京", " 138001", "1234567890\u3000"};
    auto walk = NumberWalk::allNumbers(segments, "\n");
    std::string out;
    walk.produce(3, out);
    EXPECT_EQ(linesOf(out), (Lines{"北京0000000", "北京0000001", "北京0000002"}));
    auto aaaa = NumberWalk::pattern(segments, PatternKind::AAAA, "\n");
    out.clear();
    aaaa.produce(1, out);
    EXPECT_EQ(out, "北京0000000\n");
    // A 12-byte line (ideographic space counts two) emits nothing.
    const Lines longLine = {"1234567890\u3000"};
    auto none = NumberWalk::allNumbers(longLine, "\n");
    out.clear();
    EXPECT_EQ(none.produce(10, out), 0U);
    EXPECT_TRUE(none.finished());
}

TEST(NumberWalk, InsideSegmentFollowsTheWalk) {
    const Lines segments = {"13800138", "123456789012", "1380013"};
    auto walk = NumberWalk::pattern(segments, PatternKind::AAA, "\n");
    std::string out;
    EXPECT_FALSE(walk.insideSegment());
    walk.produce(4, out);
    EXPECT_TRUE(walk.insideSegment());
    walk.produce(6, out);  // the last of the 8-digit segment
    EXPECT_FALSE(walk.insideSegment());
    EXPECT_EQ(walk.segmentIndex(), 1U);
    walk.produce(1, out);  // passes the long line, enters the third
    EXPECT_TRUE(walk.insideSegment());
    EXPECT_EQ(walk.segmentIndex(), 2U);
    // The last candidate of a 7-digit segment (filler 9, suffix 999) is skipped: after its
    // 90 numbers the walk has left the segment.
    walk.produce(89, out);
    EXPECT_FALSE(walk.insideSegment());
    EXPECT_TRUE(walk.finished());
}

// ---- Runs ----

Lines runAll(const Lines& segments, std::int64_t total, std::size_t slice) {
    AllNumbersRun run(segments, "\n");
    std::string out;
    while (!run.finished()) {
        run.next(total, slice, out);
    }
    return linesOf(out);
}

TEST(AllNumbersRun, PlannedTotalIsTestedAfterEachNumber) {
    struct Case {
        Lines segments;
        std::int64_t total;
        std::size_t count;
        std::string first, last;
    };
    const std::vector<Case> cases = {
        {{"1380013"}, 3, 3, "13800130000", "13800130002"},
        {{"1380013"}, 0, 1, "13800130000", "13800130000"},
        {{"1380013"}, -5, 1, "13800130000", "13800130000"},
        {{"1380013", "1390000"}, 15000, 15000, "13800130000", "13900004999"},
        {{"12345678901"}, 1000000, 1, "12345678901", "12345678901"},
        {{"123456789012"}, 1000000, 0, "", ""},
        {{"13800138"}, 1000000, 1000, "13800138000", "13800138999"},
        {{""}, 5, 5, "00000000000", "00000000004"},
        {{"1380013", "1380013"}, 1000000, 20000, "13800130000", "13800139999"},
    };
    for (const auto& c : cases) {
        for (const std::size_t slice : {1UL, 7UL, 4096UL}) {
            const auto lines = runAll(c.segments, c.total, slice);
            ASSERT_EQ(lines.size(), c.count) << c.total << " slice " << slice;
            if (c.count > 0) {
                EXPECT_EQ(lines.front(), c.first);
                EXPECT_EQ(lines.back(), c.last);
            }
        }
    }
}

TEST(AllNumbersRun, HundredSegmentsStopAtTheDefaultTotal) {
    Lines segments;
    for (int i = 0; i < 150; ++i) {
        segments.push_back(std::to_string(1380000 + i));
    }
    AllNumbersRun run(segments, "\n");
    std::string out;
    while (!run.finished()) {
        out.clear();
        run.next(1'000'000, 65536, out);
    }
    EXPECT_EQ(run.runCount(), 1'000'000);
    EXPECT_TRUE(out.ends_with("13800999999\n"));
}

TEST(PrettyRun, KindsComeInFixedOrderAndTheTotalStopsEachKind) {
    PrettyRun run({"1380013"}, "\n");
    std::string out;
    std::vector<PatternKind> turns;
    while (const auto kind = run.kindAtTurn()) {
        turns.push_back(*kind);
        if (*kind == PatternKind::AAAA || *kind == PatternKind::AAA) {
            run.beginKind();
            while (run.kindActive()) {
                run.next(5, 3, out);
            }
        } else {
            run.skipKind();
        }
    }
    EXPECT_EQ(turns.size(), 9U);
    EXPECT_EQ(turns.front(), PatternKind::AAAA);
    EXPECT_EQ(turns.back(), PatternKind::ABBA);
    EXPECT_EQ(linesOf(out),
              (Lines{"13800130000", "13800131111", "13800132222", "13800133333", "13800134444"}));
    EXPECT_EQ(run.runCount(), 5);
    EXPECT_TRUE(run.finished());
}

TEST(PrettyRun, AllKindsInOrderMatchTheOracle) {
    const Lines segments = {"1380013", "13800138", "", "1380013"};
    PrettyRun run(segments, "\n");
    std::string out;
    while (run.kindAtTurn()) {
        run.beginKind();
        while (run.kindActive()) {
            run.next(3000, 97, out);
        }
    }
    Lines expected;
    for (const auto& kind : oracleKinds()) {
        const std::size_t left = 3000 - expected.size();
        for (auto& line : oraclePattern(kind, segments, left)) {
            expected.push_back(line);
        }
    }
    EXPECT_EQ(linesOf(out), expected);
}

TEST(PrettyRun, BlankLineWithASmallCapFinishesAtOnce) {
    PrettyRun run({""}, "\n");
    std::string out;
    while (run.kindAtTurn()) {
        run.beginKind();
        while (run.kindActive()) {
            run.next(4, 1'000'000, out);
        }
    }
    EXPECT_EQ(linesOf(out), (Lines{"00000000000", "00000001111", "00000002222", "00000003333"}));
}

TEST(SegmentList, SplitsTheBoxAtCrLf) {
    EXPECT_EQ(segmentList("1380013\r\n"), Lines{"1380013"});
    EXPECT_EQ(segmentList("1380013\r\n\r\n1390000"), (Lines{"1380013", "", "1390000"}));
    EXPECT_TRUE(segmentList("").empty());
}

}  // namespace
}  // namespace haoma::generate
