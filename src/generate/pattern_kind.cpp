// SPDX-License-Identifier: MIT
#include "generate/pattern_kind.h"

namespace haoma::generate {
namespace {

constexpr char digit(int d) {
    return static_cast<char>('0' + d);
}

// Four equal digits, or three with the skip on the same digit before them.
template <int Length>
constexpr std::array<Suffix, 10> sameDigits() {
    std::array<Suffix, 10> table{};
    for (int d = 0; d < 10; ++d) {
        table[static_cast<std::size_t>(d)] = {
            {digit(d), digit(d), digit(d), Length == 4 ? digit(d) : '\0'},
            Length == 4 ? '\0' : digit(d)};
    }
    return table;
}

// Runs of consecutive digits, rising (step +1) or falling (step -1), starting at `first`.
// For the three-digit runs the skipped filler digit is the text of |a - 1| (rising) or
// a + 1 (falling): the one that would lengthen the run, except at the table's ends where
// 012 skips 1 and 987 skips "10", which no digit matches.
template <int Length, std::size_t Count>
constexpr std::array<Suffix, Count> runs(int first, int step) {
    std::array<Suffix, Count> table{};
    for (std::size_t i = 0; i < Count; ++i) {
        const int a = first + static_cast<int>(i);
        Suffix s{{'\0', '\0', '\0', '\0'}, '\0'};
        for (int k = 0; k < Length; ++k) {
            s.digits[static_cast<std::size_t>(k)] = digit(a + step * k);
        }
        if (Length == 3) {
            const int before = step > 0 ? (a - 1 < 0 ? 1 - a : a - 1) : a + 1;
            s.skipWhenFillerEndsWith = before <= 9 ? digit(before) : '\0';
        }
        table[i] = s;
    }
    return table;
}

enum class Pair { AABB, ABAB, ABBA };

// The 90 pairs of different digits a, b, ordered by a and then b.
template <Pair P>
constexpr std::array<Suffix, 90> pairs() {
    std::array<Suffix, 90> table{};
    std::size_t i = 0;
    for (int a = 0; a < 10; ++a) {
        for (int b = 0; b < 10; ++b) {
            if (a == b) {
                continue;
            }
            const char x = digit(a);
            const char y = digit(b);
            if (P == Pair::AABB) {
                table[i++] = {{x, x, y, y}, '\0'};
            } else if (P == Pair::ABAB) {
                table[i++] = {{x, y, x, y}, '\0'};
            } else {
                table[i++] = {{x, y, y, x}, '\0'};
            }
        }
    }
    return table;
}

constexpr auto kAAAA = sameDigits<4>();
constexpr auto kABCD = runs<4, 7>(0, +1);
constexpr auto kDCBA = runs<4, 7>(3, -1);
constexpr auto kAAA = sameDigits<3>();
constexpr auto kABC = runs<3, 8>(0, +1);
constexpr auto kCBA = runs<3, 8>(2, -1);
constexpr auto kAABB = pairs<Pair::AABB>();
constexpr auto kABAB = pairs<Pair::ABAB>();
constexpr auto kABBA = pairs<Pair::ABBA>();

using K = PatternKind;

// clang-format off
const std::array<PatternRow, kPatternKindCount> kRows = {{
    {K::AAAA, "AAAA", "选择框四同",   "按钮1四同号", 4, 7, kAAAA},
    {K::ABCD, "ABCD", "选择框正四顺", "按钮正四顺",  4, 7, kABCD},
    {K::DCBA, "DCBA", "选择框反四顺", "按钮反四顺",  4, 7, kDCBA},
    {K::AAA,  "AAA",  "选择框三同",   "按钮1三同号", 3, 8, kAAA},
    {K::ABC,  "ABC",  "选择框正三顺", "按钮正三顺",  3, 8, kABC},
    {K::CBA,  "CBA",  "选择框反三顺", "按钮反三顺",  3, 8, kCBA},
    {K::AABB, "AABB", "选择框aabb",   "按钮aabb",    4, 7, kAABB},
    {K::ABAB, "ABAB", "选择框abab",   "按钮abab",    4, 7, kABAB},
    {K::ABBA, "ABBA", "选择框abba",   "按钮abba",    4, 7, kABBA},
}};
// clang-format on

}  // namespace

std::span<const PatternRow, kPatternKindCount> patternTable() {
    return kRows;
}

const PatternRow& patternRow(PatternKind kind) {
    return kRows[static_cast<std::size_t>(kind)];
}

std::optional<PatternKind> patternKindByName(std::string_view name) {
    for (const auto& row : kRows) {
        if (row.name.size() != name.size()) {
            continue;
        }
        bool same = true;
        for (std::size_t i = 0; i < name.size() && same; ++i) {
            const char c =
                name[i] >= 'a' && name[i] <= 'z' ? static_cast<char>(name[i] - 32) : name[i];
            same = c == row.name[i];
        }
        if (same) {
            return row.kind;
        }
    }
    return std::nullopt;
}

}  // namespace haoma::generate
