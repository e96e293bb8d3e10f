// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "text/text.h"

namespace haoma::text {
namespace {

using Pieces = std::vector<std::string>;

TEST(Split, KeepsInnerEmptyPiecesAndDropsTrailingOne) {
    struct Case {
        std::string text, delimiter;
        Pieces expected;
    };
    const std::vector<Case> cases = {
        {"a@@b", "@", {"a", "", "b"}},
        {"@a", "@", {"", "a"}},
        {"a@", "@", {"a"}},
        {"@", "@", {""}},
        {"", "@", {}},
        {"@abc", "@", {"", "abc"}},
        {"138\r\n139\r\n", "\r\n", {"138", "139"}},
        {"138\r\n\r\n139\r\n", "\r\n", {"138", "", "139"}},
        {"1380013\r\n", "\r\n", {"1380013"}},
        {"138\n139", "\r\n", {"138\n139"}},
        {"北京@上海@", "@", {"北京", "上海"}},
        {" 138 \r\n", "\r\n", {" 138 "}},
        {"\r\n\r\n", "\r\n", {"", ""}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(split(c.text, c.delimiter), c.expected) << c.text;
    }
}

TEST(Split, JoinGivesBackTheTextLessItsTrailingDelimiter) {
    std::mt19937 rng(7);
    const std::string alphabet[] = {"1", "@", "北", "\r", "\n", "x"};
    for (int round = 0; round < 500; ++round) {
        std::string text;
        const int n = static_cast<int>(rng() % 12);
        for (int i = 0; i < n; ++i) {
            text += alphabet[rng() % 6];
        }
        for (const std::string delimiter : {"@", "\r\n"}) {
            std::string joined;
            const auto pieces = split(text, delimiter);
            for (std::size_t i = 0; i < pieces.size(); ++i) {
                joined += (i ? delimiter : "") + pieces[i];
            }
            std::string expected = text;
            if (expected.ends_with(delimiter)) {
                expected.resize(expected.size() - delimiter.size());
            }
            EXPECT_EQ(joined, expected) << text;
        }
    }
}

TEST(Find, PositionsCountGbkBytesFromOne) {
    struct Case {
        std::string text, sought;
        int expected;
    };
    const std::vector<Case> cases = {
        {"abc", "b", 2},     {"abc", "", 1},       {"", "", -1},          {"", "a", -1},
        {"abc", "abcd", -1}, {"|Ab|x", "|ab", -1}, {"北京|bj", "|bj", 5}, {"北京", "京", 3},
        {"aXbX", "X", 2},    {"abc", "c", 3},      {"x北京", "北京", 2},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(find(c.text, c.sought), c.expected) << c.text << " / " << c.sought;
    }
}

TEST(Find, NeverMatchesInsideACharacter) {
    // The last byte of 北 (E5 8C 97) and the first two of 京 (E4 BA AC) sit side by side.
    const std::string text = "北京";
    EXPECT_EQ(find(text, text.substr(2, 2)), -1);
    EXPECT_EQ(find(text, text.substr(1, 3)), -1);
    EXPECT_FALSE(contains(text, text.substr(2, 3)));
    EXPECT_TRUE(contains(text, text.substr(3, 3)));
    // The same rule for splitting: a delimiter hidden inside a character splits nothing.
    EXPECT_EQ(split(text, text.substr(1, 2)), Pieces{text});
}

TEST(Trim, RemovesOnlyBlanksAndIdeographicSpaces) {
    struct Case {
        std::string text, expected;
    };
    const std::vector<Case> cases = {
        {"\t北京 ", "\t北京"},
        {"\u3000北京\u3000", "北京"},
        {" \u3000 北京\u3000 \u3000", "北京"},
        {"   ", ""},
        {"\u3000", ""},
        {"", ""},
        {"\r\n138\r\n", "\r\n138\r\n"},
        {"a b", "a b"},
        {" \xC2\xA0x", "\xC2\xA0x"},  // a no-break space is not a blank
    };
    for (const auto& c : cases) {
        EXPECT_EQ(trim(c.text), c.expected) << c.text;
    }
}

TEST(LowerCase, ChangesOnlyAsciiCapitals) {
    EXPECT_EQ(toLowerAscii("BJ"), "bj");
    EXPECT_EQ(toLowerAscii("Bei京ＡＢ"), "bei京ＡＢ");
    EXPECT_EQ(toLowerAscii("HHC|Z"), "hhc|z");
    EXPECT_EQ(toLowerAscii(""), "");
}

TEST(ToInteger, ReadsTheLeadingNumber) {
    struct Case {
        std::string text;
        std::int32_t expected;
    };
    const std::vector<Case> cases = {
        {"12ab", 12},
        {"1 2", 1},
        {" 7", 7},
        {"１２３", 123},
        {"-5", -5},
        {"", 0},
        {"abc", 0},
        {"0123", 123},
        {"１０００", 1000},
        {"1e5", 1},
        {"－3", -3},
        {"＋8", 8},
        {"3000000000", static_cast<std::int32_t>(3000000000LL - 4294967296LL)},
        {"2147483647", 2147483647},
        {"2147483648", std::numeric_limits<std::int32_t>::min()},
        {"-2147483648", std::numeric_limits<std::int32_t>::min()},
        {"-0", 0},
        {"４294967296", 0},
        {"\t\n\v\f\r 42", 42},
        {"\u3000９９", 99},
        {"+-1", 0},
        {"- 1", 0},
        {"1000000", 1000000},
        {"12345678901234567890",
         static_cast<std::int32_t>(12345678901234567890ULL % 4294967296ULL)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(toInteger(c.text), c.expected) << c.text;
    }
}

TEST(ToNumber, ReadsTheLongestLeadingDecimalNumber) {
    struct Case {
        std::string text;
        double expected;
    };
    const std::vector<Case> cases = {
        {"1.5x", 1.5},  {" -2.25", -2.25}, {"1e3", 1000.0}, {"1e", 1.0},      {"1e+", 1.0},
        {".5", 0.5},    {"5.", 5.0},       {".", 0.0},      {"abc", 0.0},     {"", 0.0},
        {"１.５", 1.5}, {"－２", -2.0},    {"2E-2", 0.02},  {"+7.0e1", 70.0}, {"1e-999", 0.0},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(toNumber(c.text), c.expected) << c.text;
    }
    EXPECT_TRUE(std::isinf(toNumber("1e999")));
}

TEST(NumberToInteger, TruncatesAndKeepsLow32Bits) {
    struct Case {
        double value;
        std::int32_t expected;
    };
    const std::vector<Case> cases = {
        {3.9, 3},          {-3.9, -3},
        {0.0, 0},          {2147483648.0, std::numeric_limits<std::int32_t>::min()},
        {4294967297.5, 1}, {-4294967297.0, -1},
        {std::nan(""), 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(numberToInteger(c.value), c.expected) << c.value;
    }
}

TEST(Formatting, IntegersAndNumbers) {
    EXPECT_EQ(integerToText(0), "0");
    EXPECT_EQ(integerToText(-17), "-17");
    EXPECT_EQ(integerToText(1000000), "1000000");
    EXPECT_EQ(numberToText(101.0), "101");
    EXPECT_EQ(numberToText(99.5), "99.5");
    EXPECT_EQ(numberToText(5.0), "5");
    EXPECT_EQ(numberToText(0.5), "0.5");
    EXPECT_EQ(numberToText(12.0), "12");
    EXPECT_EQ(numberToText(1e13), "1e+13");
    EXPECT_EQ(numberToText(1234567890123.0), "1234567890123");
    EXPECT_EQ(numberToText(0.00001), "1e-05");
}

TEST(Counter, ReadsAddsAndWritesBack) {
    EXPECT_EQ(advanceCounter("0", 1), "1");
    EXPECT_EQ(advanceCounter("529", 471), "1000");
    EXPECT_EQ(advanceCounter("", 3), "3");  // a cleared caption counts on from 0
    EXPECT_EQ(advanceCounter("x7", 2), "2");
    EXPECT_EQ(advanceCounter("１２", 1), "13");  // full-width digits read as digits
}

}  // namespace
}  // namespace haoma::text
