// SPDX-License-Identifier: MIT
// GBK byte counts against the system's own converter (glibc's iconv, Windows' code page 936)
// and against one table of lengths that both systems are held to.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

#include "text/text.h"

#ifndef HAOMA_GBK_TABLE
#error "HAOMA_GBK_TABLE names the table of GBK lengths"
#endif

namespace haoma::text {
namespace {

std::string utf8Of(char32_t cp) {
    if (cp < 0x80) {
        return std::string(1, static_cast<char>(cp));
    }
    if (cp < 0x800) {
        return {static_cast<char>(0xC0 | (cp >> 6)), static_cast<char>(0x80 | (cp & 0x3F))};
    }
    return {static_cast<char>(0xE0 | (cp >> 12)), static_cast<char>(0x80 | ((cp >> 6) & 0x3F)),
            static_cast<char>(0x80 | (cp & 0x3F))};
}

// Independent oracle: the system's converter between GBK bytes and UTF-8 (nothing when the
// text has no form on the other side).
class SystemConverter {
  public:
#ifdef _WIN32
    std::optional<std::string> toGbk(const std::string& utf8) const {
        std::wstring wide(utf8.size() + 1, L'\0');
        const int units = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                              static_cast<int>(utf8.size()), wide.data(),
                                              static_cast<int>(wide.size()));
        std::string out(utf8.size() * 2 + 2, '\0');
        BOOL usedDefault = FALSE;
        const int bytes =
            WideCharToMultiByte(936, WC_NO_BEST_FIT_CHARS, wide.data(), units, out.data(),
                                static_cast<int>(out.size()), nullptr, &usedDefault);
        if (units <= 0 || bytes <= 0 || usedDefault) {
            return std::nullopt;
        }
        out.resize(static_cast<std::size_t>(bytes));
        return out;
    }
    std::optional<std::string> fromGbk(const std::string& gbk) const {
        std::wstring wide(gbk.size() + 1, L'\0');
        const int units =
            MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, gbk.data(), static_cast<int>(gbk.size()),
                                wide.data(), static_cast<int>(wide.size()));
        std::string out(gbk.size() * 3 + 3, '\0');
        const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide.data(), units, out.data(),
                                              static_cast<int>(out.size()), nullptr, nullptr);
        if (units <= 0 || bytes <= 0) {
            return std::nullopt;
        }
        out.resize(static_cast<std::size_t>(bytes));
        return out;
    }
#else
    SystemConverter() : toGbk_(iconv_open("GBK", "UTF-8")), fromGbk_(iconv_open("UTF-8", "GBK")) {}
    ~SystemConverter() {
        iconv_close(toGbk_);
        iconv_close(fromGbk_);
    }
    SystemConverter(const SystemConverter&) = delete;
    SystemConverter& operator=(const SystemConverter&) = delete;
    std::optional<std::string> toGbk(const std::string& utf8) const {
        return convert(toGbk_, utf8);
    }
    std::optional<std::string> fromGbk(const std::string& gbk) const {
        return convert(fromGbk_, gbk);
    }

  private:
    static std::optional<std::string> convert(iconv_t cd, const std::string& in) {
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        std::string input = in;
        std::string output(in.size() * 4 + 8, '\0');
        char* inPtr = input.data();
        std::size_t inLeft = input.size();
        char* outPtr = output.data();
        std::size_t outLeft = output.size();
        if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
            return std::nullopt;
        }
        output.resize(output.size() - outLeft);
        return output;
    }
    iconv_t toGbk_;
    iconv_t fromGbk_;
#endif
};

// The table: "FIRST-LAST LENGTH" in hexadecimal code points, every BMP character from U+0080
// outside the surrogates, as glibc's converter counts them (a character GBK lacks is one byte).
struct Run {
    char32_t first, last;
    int length;
};

std::vector<Run> readTable() {
    std::ifstream file(HAOMA_GBK_TABLE);
    std::vector<Run> runs;
    std::string line;
    while (std::getline(file, line)) {
        unsigned first = 0, last = 0;
        int length = 0;
        if (line.empty() || line[0] == '#') {
            continue;
        }
        EXPECT_EQ(std::sscanf(line.c_str(), "%x-%x %d", &first, &last, &length), 3) << line;
        runs.push_back({first, last, length});
    }
    return runs;
}

TEST(Compare, OrdersByGbkBytes) {
    EXPECT_EQ(compare("A", "a"), -1);
    EXPECT_EQ(compare("a", "a"), 0);
    EXPECT_EQ(compare("", "a"), -1);
    EXPECT_EQ(compare("ab", "a"), 1);
    // 北 is B1 B1 and 安 is B0 B2 in GBK, though their code points order the other way.
    EXPECT_GT(compare("北", "安"), 0);
    EXPECT_LT(compare("啊", "北"), 0);
}

TEST(GbkLength, CountsGbkBytes) {
    struct Case {
        std::string text;
        int expected;
    };
    const std::vector<Case> cases = {
        {"", 0},
        {"1380013", 7},
        {"北京", 4},
        {"北京1", 5},
        {"ａ", 2},
        {"·", 2},
        {"é", 2},
        {"€", 1},
        {"😀", 1},
        {"\xFF", 1},
        {"\xE5\x8C", 2},
        {"\u3000", 2},
        {"\xF0\x9F", 2},
        {"abc\x80", 4},
        // Tag characters, which the converter drops silently: unencodable, one byte each.
        {"1380013\U000E0001", 8},
        {"\U000E0020\U000E007F", 2},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(gbkLength(c.text), c.expected) << c.text;
    }
}

TEST(GbkLength, AgreesWithTheSystemsConverterOnEveryBmpCharacter) {
    const SystemConverter converter;
    for (char32_t cp = 0x80; cp < 0x10000; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF) {
            continue;
        }
        const std::string utf8 = utf8Of(cp);
        const auto gbk = converter.toGbk(utf8);
        const int expected = gbk ? static_cast<int>(gbk->size()) : 1;
        ASSERT_EQ(gbkLength(utf8), expected) << std::hex << static_cast<unsigned>(cp);
    }
}

#ifndef _WIN32
// Runs of equal length over the BMP, from a function of a code point.
template <typename Length>
std::vector<Run> runsOf(Length lengthOf) {
    std::vector<Run> runs;
    for (char32_t cp = 0x80; cp < 0x10000; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF) {
            continue;
        }
        const int length = lengthOf(cp);
        if (!runs.empty() && runs.back().length == length && runs.back().last + 1 == cp) {
            runs.back().last = cp;
        } else {
            runs.push_back({cp, cp, length});
        }
    }
    return runs;
}

std::string textOf(const std::vector<Run>& runs) {
    std::ostringstream text;
    for (const auto& run : runs) {
        char line[32];
        std::snprintf(line, sizeof line, "%04X-%04X %d\n", static_cast<unsigned>(run.first),
                      static_cast<unsigned>(run.last), run.length);
        text << line;
    }
    return text.str();
}

// The table both systems are held to is glibc's own; on a mismatch, the fresh table is printed.
TEST(GbkLength, TheTableOfLengthsIsTheConvertersOwn) {
    const SystemConverter converter;
    const auto fresh = runsOf([&](char32_t cp) {
        const auto gbk = converter.toGbk(utf8Of(cp));
        return gbk ? static_cast<int>(gbk->size()) : 1;
    });
    EXPECT_EQ(textOf(readTable()), textOf(fresh));
}
#endif

// Both systems count as the table says, but for private-use characters: Windows' code page
// 936 gives two bytes to those it maps to GBK's user-defined cells, which glibc's GBK lacks.
TEST(GbkLength, CountsAsTheTableSaysOnEverySystem) {
    const auto runs = readTable();
    ASSERT_GT(runs.size(), 100U);
    int userDefined = 0;
    for (const auto& run : runs) {
        for (char32_t cp = run.first; cp <= run.last; ++cp) {
            const int length = gbkLength(utf8Of(cp));
#ifdef _WIN32
            if (cp >= 0xE000 && cp <= 0xF8FF && run.length == 1 && length == 2) {
                ++userDefined;
                continue;
            }
#endif
            ASSERT_EQ(length, run.length) << std::hex << static_cast<unsigned>(cp);
        }
    }
#ifdef _WIN32
    std::cout << userDefined << " private-use characters count two bytes here\n";
    EXPECT_GT(userDefined, 1000);  // the user-defined area has thousands of cells
#else
    EXPECT_EQ(userDefined, 0);
#endif
}

TEST(HalfWidthFolding, MatchesTheGbkFullWidthRowsByteForByte) {
    const SystemConverter converter;
    const auto fromGbk = [&](std::string bytes) { return converter.fromGbk(bytes).value(); };
    // Row A3: every cell folds to its byte less 0x80.
    for (int x = 0xA1; x <= 0xFE; ++x) {
        const std::string full = fromGbk({'\xA3', static_cast<char>(x)});
        EXPECT_EQ(foldHalfWidth(full), std::string(1, static_cast<char>(x - 0x80)))
            << std::hex << x;
    }
    EXPECT_EQ(foldHalfWidth(fromGbk("\xA1\xA1")), " ");
    EXPECT_EQ(foldHalfWidth(fromGbk("\xA1\xAB")), "~");
    EXPECT_EQ(foldHalfWidth(fromGbk("\xA1\xEE")), "*");
    EXPECT_EQ(foldHalfWidth(fromGbk("\xA1\xEF")), "*");
    // Every other cell of row A1 stays as it is.
    for (int x = 0xA2; x <= 0xFE; ++x) {
        if (x == 0xAB || x == 0xEE || x == 0xEF) {
            continue;
        }
        if (const auto cell = converter.fromGbk(std::string{'\xA1', static_cast<char>(x)})) {
            EXPECT_EQ(foldHalfWidth(*cell), *cell) << std::hex << x;
        }
    }
    EXPECT_EQ(foldHalfWidth("北京"), "北京");
}

}  // namespace
}  // namespace haoma::text
