// SPDX-License-Identifier: MIT
// haoma-cli match, the rules on the digits after the segment, exact counts and samples.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "cli_fixture.h"
#include "text/text.h"

namespace haoma::cli {
namespace {

std::vector<std::string> linesOf(const std::string& out) {
    return out.empty() ? std::vector<std::string>{}
                       : text::split(out.substr(0, out.size() - 1), "\n");
}

TEST_F(CliTest, MatchPrintsThePatternsNumbersOnceInOrder) {
    struct Case {
        std::vector<std::string> args;
        std::string out;
    };
    const Case cases[] = {
        {{"match", "AAAA", "--limit", "3", "1380013"}, "13800130000\n13800131111\n13800132222\n"},
        {{"match", "9-", "--limit", "2", "1380013"}, "13800130098\n13800130198\n"},
        {{"match", "8+++", "1380013"}, ""},
        {{"match", "A++++", "1380012"}, "13800123456\n"},
        // A union prints a number once: 1111 is AAAA and 1*11.
        {{"match", "AAAA,1*11", "--limit", "3", "1380013"},
         "13800130000\n13800131011\n13800131111\n"},
        {{"match", "[68]888", "1380013", "1390000"},
         "13800136888\n13800138888\n13900006888\n13900008888\n"},
        {{"match", "--preset", "love", "--limit", "2", "1380013"}, "13800130520\n13800130521\n"},
        {{"match", "1314", "--city", "广州"}, "13800131314\n17000201314\n"},
        {{"match", "AAAA", "--limit", "1"}, "13800130000\n"},  // segments from standard input
    };
    for (const auto& c : cases) {
        const auto r = cli(c.args, "1380013\n");
        EXPECT_EQ(r.status, 0) << c.args[1] << " " << r.err;
        EXPECT_EQ(r.out, c.out) << c.args[1];
    }
    const auto presets = cli({"match", "--list-presets"});
    EXPECT_NE(presets.out.find("birthday\t"), std::string::npos);
    EXPECT_NE(presets.out.find("abcde\tA++++\t"), std::string::npos);
}

TEST_F(CliTest, APatternErrorPointsAtItsPositionWithStatusTwo) {
    const auto r = cli({"match", "AB[3", "1380013"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err,
              "haoma-cli: bad pattern: '[' without ']'\n  AB[3\n    ^\nTry 'haoma-cli --help'.\n");
    // A character that is not ASCII is quoted whole, never as a cut byte.
    const std::pair<const char*, const char*> wholeCharacters[] = {
        {"AB中D",
         "haoma-cli: bad pattern: unexpected '中' (digits, *, [set], A-J, + and - make a "
         "pattern)\n  AB中D\n    ^\n"},
        {"1[2８]",
         "haoma-cli: bad pattern: '８' in a set (digits and ranges only)\n  1[2８]\n"
         "     ^\n"},
        {"é",
         "haoma-cli: bad pattern: unexpected 'é' (digits, *, [set], A-J, + and - make a "
         "pattern)\n  é\n  ^\n"},
    };
    for (const auto& [pattern, says] : wholeCharacters) {
        const auto bad = cli({"match", pattern, "1380013"});
        EXPECT_EQ(bad.status, 2);
        EXPECT_EQ(bad.err, std::string(says) + "Try 'haoma-cli --help'.\n");
    }
    for (const auto& args : std::vector<std::vector<std::string>>{{"match"},
                                                                  {"match", "--preset", "lucky"},
                                                                  {"match", "x1"},
                                                                  {"all", "--without", "4a"},
                                                                  {"all", "--contains", ""},
                                                                  {"all", "--sample", "0"}}) {
        EXPECT_EQ(cli(args).status, 2) << args.back();
    }
}

TEST_F(CliTest, ContainsAndWithoutFilterTheDigitsAfterTheSegment) {
    // Against a plain filter over every number.
    const auto everything = linesOf(cli({"all", "1380013"}).out);
    ASSERT_EQ(everything.size(), 10000U);
    const auto filter = [&](const std::string& without, const std::vector<std::string>& contains) {
        std::vector<std::string> kept;
        for (const auto& number : everything) {
            const std::string tail = number.substr(7);
            bool ok = tail.find_first_of(without) == std::string::npos || without.empty();
            for (const auto& wanted : contains) {
                ok = ok && tail.find(wanted) != std::string::npos;
            }
            if (ok)
                kept.push_back(number);
        }
        return kept;
    };
    EXPECT_EQ(linesOf(cli({"all", "1380013", "--without", "4"}).out), filter("4", {}));
    EXPECT_EQ(linesOf(cli({"all", "1380013", "--without", "47", "--contains", "8"}).out),
              filter("47", {"8"}));
    EXPECT_EQ(linesOf(cli({"all", "1380013", "--contains", "52", "--contains", "0"}).out),
              filter("", {"52", "0"}));
    // With pretty: the digits after the segment are the filler and the suffix.
    const auto pretty = linesOf(cli({"pretty", "--kinds", "aaa", "1380013"}).out);
    const auto without =
        linesOf(cli({"pretty", "--kinds", "aaa", "--without", "4", "1380013"}).out);
    std::vector<std::string> expected;
    for (const auto& number : pretty) {
        if (number.substr(7).find('4') == std::string::npos)
            expected.push_back(number);
    }
    EXPECT_EQ(without, expected);
    EXPECT_EQ(linesOf(cli({"match", "AAA", "--without", "4", "1380013"}).out).size(), 9U * 9);
}

TEST_F(CliTest, CountIsWhatWouldBePrintedAfterTheLimit) {
    const std::vector<std::vector<std::string>> runs = {
        {"all", "1380013", "13800138"},
        {"all", "--city", "北京", "--without", "4"},
        {"pretty", "1380013", "13800"},
        {"pretty", "--kinds", "abc", "--contains", "5", "1380013"},
        {"match", "A+++,AAAA", "--city", "广州"},
        {"match", "--preset", "birthday", "1380013"},
        {"match", "**[^4]", "--contains", "9", "1380013"},
        {"all", "1380013", "--limit", "77"},
    };
    for (const auto& args : runs) {
        const auto printed = linesOf(cli(args).out).size();
        auto counting = args;
        counting.push_back("--count");
        EXPECT_EQ(cli(counting).out, std::to_string(printed) + "\n") << args[1];
    }
}

TEST_F(CliTest, SampleIsDistinctFromTheOutputInOrderAndRepeatable) {
    const std::vector<std::vector<std::string>> runs = {
        {"all", "1380013", "1390000"},         {"match", "*[^4]*", "1380013", "1390000"},
        {"match", "AAAA,ABAB", "1380013"},  // a union: drawn from the walk
        {"pretty", "1380013", "1390101"},   // pretty numbers: drawn from the walk
        {"all", "1380013", "--contains", "1"},
    };
    for (const auto& args : runs) {
        const auto everything = linesOf(cli(args).out);
        std::vector<std::string> place(everything);
        auto sampling = args;
        sampling.insert(sampling.end(), {"--sample", "25", "--seed", "9"});
        const auto sample = linesOf(cli(sampling).out);
        ASSERT_EQ(sample.size(), std::min<std::size_t>(25, everything.size())) << args[1];
        EXPECT_EQ(std::set<std::string>(sample.begin(), sample.end()).size(), sample.size());
        std::size_t last = 0;
        for (const auto& number : sample) {
            const auto at = std::find(everything.begin(), everything.end(), number);
            ASSERT_NE(at, everything.end()) << number;
            const auto index = static_cast<std::size_t>(at - everything.begin());
            EXPECT_TRUE(index >= last) << number;
            last = index;
        }
        EXPECT_EQ(linesOf(cli(sampling).out), sample);  // same seed, same sample
        sampling.push_back("--shuffle");
        auto shuffled = linesOf(cli(sampling).out);
        std::sort(shuffled.begin(), shuffled.end());
        auto sorted = sample;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(shuffled, sorted);
    }
    // The seed a run drew for itself is the one it names: given back, it draws the same.
    const auto seeded = cli({"all", "1380013", "--sample", "3", "--progress"});
    const auto named = seeded.err.find("seed ");
    ASSERT_NE(named, std::string::npos);
    const std::string seed = seeded.err.substr(named + 5, seeded.err.find('\n', named) - named - 5);
    EXPECT_EQ(cli({"all", "1380013", "--sample", "3", "--seed", seed}).out, seeded.out);
    // A limit below the sample's size is a smaller sample, never more lines than the limit.
    for (const char* shuffle : {"--count", "--shuffle"}) {
        const auto limited = cli(
            {"match", "A*", "1380013", "--sample", "500", "--limit", "7", "--seed", "5", shuffle});
        EXPECT_EQ(linesOf(limited.out).size(), shuffle[2] == 'c' ? 1U : 7U) << shuffle;
        EXPECT_EQ(linesOf(limited.out)[0].size(), shuffle[2] == 'c' ? 1U : 11U) << limited.out;
    }
}

}  // namespace
}  // namespace haoma::cli

namespace haoma::cli {
namespace {

// Every run, on segment lines of 0 to 12 bytes (fillers of 11 digits down to none), prints
// exactly as many lines as --count says, up to --limit: limits past one output block
// (2^16 numbers) and past 2^20 included.
TEST_F(CliTest, LinesPrintedEqualTheCountOnEveryWidthAndLimit) {
    const std::vector<std::vector<std::string>> runs = {
        {"all"},
        {"all", "--contains", "88", "--without", "4"},
        {"pretty"},
        {"pretty", "--kinds", "aaa,abba", "--contains", "5", "--without", "3"},
        {"match", "****"},
        {"match", "AAAA"},
        {"match", "A+++,AAAA"},
        {"match", "A-,[68]8", "--contains", "1"},
    };
    const std::vector<std::string> segments = {
        "",         "1",          "13",          "138",          "13800", "1380013",
        "13800138", "1380013800", "13800138000", "138001380001", "北京"};
    for (const auto& segment : segments) {
        // Wide fillers take the big limits, where a block's count was mistaken for the run's.
        const std::vector<std::string> limits =
            segment.empty()       ? std::vector<std::string>{"70000", "1048577"}
            : segment.size() <= 3 ? std::vector<std::string>{"70000"}
                                  : std::vector<std::string>{"1", "70000"};
        for (const auto& run : runs) {
            for (const auto& limit : limits) {
                auto args = run;
                args.insert(args.end(), {"--limit", limit, "--segments", "-"});
                auto countArgs = args;
                countArgs.push_back("--count");
                const Result counted = cli(countArgs, segment + "\n");
                const Result printed = cli(args, segment + "\n");
                const std::string label = "'" + segment + "' " + run[0] + " " +
                                          (run.size() > 1 ? run[1] : "") + " limit " + limit;
                ASSERT_EQ(counted.status, 0) << label << counted.err;
                ASSERT_EQ(printed.status, 0) << label << printed.err;
                const auto lines = std::count(printed.out.begin(), printed.out.end(), '\n');
                EXPECT_EQ(std::to_string(lines) + "\n", counted.out) << label;
            }
        }
    }
}

TEST_F(CliTest, FiltersThatFindLittleAnswerAtOnceOnABlankLine) {
    std::vector<std::string> tooMany = {"all", "--count"};
    for (int i = 0; i < 65; ++i) {
        tooMany.insert(tooMany.end(), {"--contains", std::to_string(i)});
    }
    EXPECT_EQ(cli(tooMany, "\n").status, 2);
    // A thousand million candidates before the 100th number for a filter that walks them.
    const Result few = cli({"all", "--contains", "88", "--without", "4", "--limit", "100"}, "\n");
    EXPECT_EQ(few.status, 0);
    EXPECT_EQ(std::count(few.out.begin(), few.out.end(), '\n'), 100);
    EXPECT_EQ(linesOf(few.out).front(), "00000000088");
    // A union's sample needs no walk over the union.
    const Result sample = cli({"match", "A+++,AAAA", "--sample", "40", "--seed", "3"}, "\n");
    ASSERT_EQ(sample.status, 0);
    const auto numbers = linesOf(sample.out);
    ASSERT_EQ(numbers.size(), 40U);
    for (const auto& number : numbers) {
        const std::string tail = number.substr(7);
        const bool same = tail == std::string(4, tail[0]);
        const bool rising =
            tail[1] == tail[0] + 1 && tail[2] == tail[1] + 1 && tail[3] == tail[2] + 1;
        EXPECT_TRUE(same || rising) << number;
    }
    EXPECT_TRUE(std::is_sorted(numbers.begin(), numbers.end()));
}

}  // namespace
}  // namespace haoma::cli

namespace haoma::cli {
namespace {

// A sample of at least the whole run is the run, streamed in its order; one that cannot
// fit in memory is a message and status 1, never an abort.
TEST_F(CliTest, SamplesAsLargeAsTheRunOrLargerThanMemory) {
    const Result whole = cli({"match", "A+++,AAAA", "1380013"});
    ASSERT_EQ(whole.status, 0);
    for (const char* size : {"17", "18", "1000000000000"}) {
        const Result sample = cli({"match", "A+++,AAAA", "--sample", size, "1380013"});
        EXPECT_EQ(sample.status, 0) << size;
        EXPECT_EQ(sample.out, whole.out) << size;
    }
    // A shuffled sample holds its ranks: one that cannot fit is refused before it begins.
    const Result huge = cli({"all", "--sample", "10000000000", "--seed", "1", "--shuffle"}, "\n");
    EXPECT_EQ(huge.status, 1);
    EXPECT_NE(huge.err.find("not enough memory"), std::string::npos) << huge.err;
    EXPECT_EQ(huge.out, "");
}

// --whole-number: the filters hold for the whole number, segment included, against a plain
// filter over the unfiltered run; the count agrees with the lines printed.
TEST_F(CliTest, WholeNumberFiltersAgreeWithAPlainFilterOverTheWholeNumber) {
    const std::string segments = "1380013\n138001\n13800138\n北京1\n1340000\n";
    const std::vector<std::vector<std::string>> runs = {
        {"all"}, {"pretty"}, {"match", "A+++,AAAA,*88"}};
    const std::vector<std::pair<std::vector<std::string>, std::string>> rules = {
        {{"--contains", "38"}, ""},
        {{"--contains", "0013"}, ""},
        {{"--contains", "13", "--contains", "99"}, ""},
        {{"--without", "4"}, "4"},
        {{"--contains", "80", "--without", "5"}, "5"},
        {{"--contains", "京1"}, ""},
    };
    for (const auto& run : runs) {
        const auto everything = linesOf(cli(run, segments).out);
        ASSERT_FALSE(everything.empty());
        for (const auto& [filters, forbidden] : rules) {
            std::vector<std::string> contained;
            for (std::size_t at = 0; at + 1 < filters.size(); at += 2) {
                if (filters[at] == "--contains") {
                    contained.push_back(filters[at + 1]);
                }
            }
            if (filters[1] == "京1") {
                continue;  // not digits: refused below
            }
            std::vector<std::string> expected;
            for (const auto& number : everything) {
                bool keep =
                    forbidden.empty() || number.find_first_of(forbidden) == std::string::npos;
                for (const auto& wanted : contained) {
                    keep = keep && number.find(wanted) != std::string::npos;
                }
                if (keep) {
                    expected.push_back(number);
                }
            }
            auto args = run;
            args.insert(args.end(), filters.begin(), filters.end());
            args.push_back("--whole-number");
            const auto printed = cli(args, segments);
            EXPECT_EQ(linesOf(printed.out), expected) << args[0] << " " << filters[1];
            auto sampled = args;
            sampled.insert(sampled.end(), {"--sample", "50", "--seed", "9"});
            const auto sample = linesOf(cli(sampled, segments).out);
            EXPECT_EQ(sample.size(), std::min<std::size_t>(50, expected.size()));
            const std::set<std::string> allowed(expected.begin(), expected.end());
            EXPECT_TRUE(std::all_of(sample.begin(), sample.end(),
                                    [&](const std::string& n) { return allowed.contains(n); }))
                << args[0] << " " << filters[1];
            args.push_back("--count");
            EXPECT_EQ(cli(args, segments).out, std::to_string(expected.size()) + "\n")
                << args[0] << " " << filters[1];
        }
    }
    EXPECT_EQ(cli({"all", "--contains", "京1", "--whole-number"}, segments).status, 2);
}

}  // namespace
}  // namespace haoma::cli
