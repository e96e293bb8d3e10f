// SPDX-License-Identifier: MIT
#pragma once
// The nine pretty-number kinds as one table of data.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace haoma::generate {

enum class PatternKind : std::uint8_t { AAAA, ABCD, DCBA, AAA, ABC, CBA, AABB, ABAB, ABBA };

inline constexpr int kPatternKindCount = 9;

// One suffix of a kind's table: its digits and the filler digit before it that makes the
// candidate skipped ('\0' when nothing is skipped).
struct Suffix {
    std::array<char, 4> digits;
    char skipWhenFillerEndsWith;
};

struct PatternRow {
    PatternKind kind;
    std::string_view name;             // "AAAA", "ABCD", ...
    std::string_view checkBox;         // object name of the check box that ticks the kind
    std::string_view indicator;        // object name of the kind's indicator button
    int suffixLength;                  // 3 or 4
    int segmentLimit;                  // longest segment the kind accepts; limit + suffix = 11
    std::span<const Suffix> suffixes;  // in table order
};

// The nine rows in the order a pretty-number run calls them.
std::span<const PatternRow, kPatternKindCount> patternTable();

const PatternRow& patternRow(PatternKind kind);

// The kind named `name` (ASCII letters in any case), if there is one.
std::optional<PatternKind> patternKindByName(std::string_view name);

}  // namespace haoma::generate
