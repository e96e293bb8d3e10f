// SPDX-License-Identifier: MIT
#pragma once
// The rules on the digits after the segment (--without, --contains), and the question a
// long search or count asks now and then: whether to stop.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "generate/digit_pattern.h"

namespace haoma::generate {

// Bit d set when digit d is allowed.
using DigitSet = std::uint16_t;

// What the digits after the segment must be.
struct TailRule {
    DigitSet allowed = kAnyDigit;       // none outside this set (--without)
    std::vector<std::string> contains;  // each occurs somewhere (--contains)
    // The rule holds for the whole number, the segment line's digits too: a contained string
    // may lie in the line or run across into the filler, and a line that holds a digit
    // outside `allowed` has no number (see keepsLine).
    bool wholeNumber = false;

    // Whether each contained string occurs in `digits` (the filler, or the whole number).
    bool accepts(std::string_view digits) const;
};

// Whether a segment line can give numbers under the rule: false only for a whole-number
// rule and a line holding a digit outside `allowed`.
bool keepsLine(const TailRule& rule, std::string_view line);

// Whether the set holds the digit (0 to 9).
inline bool holds(DigitSet digits, int digit) {
    return ((static_cast<unsigned>(digits) >> static_cast<unsigned>(digit)) & 1U) != 0;
}

// How many digits a set holds, from a table: the target need not have a POPCNT
// instruction, and the library call that stands in for one was a hot spot.
inline int digitCount(DigitSet digits) {
    static constexpr auto kCounts = [] {
        std::array<std::uint8_t, 1024> counts{};
        for (std::size_t set = 1; set < counts.size(); ++set) {
            counts[set] = static_cast<std::uint8_t>(counts[set >> 1] + (set & 1U));
        }
        return counts;
    }();
    return kCounts[digits & 0x3FFU];
}

// The digits of `without` taken away from all ten.
DigitSet digitsWithout(std::string_view without);

// a + b, held at the largest value instead of wrapping: counts of numbers can pass 2^64.
inline std::uint64_t saturatingAdd(std::uint64_t a, std::uint64_t b) {
    return b > UINT64_MAX - a ? UINT64_MAX : a + b;
}

// Asked between steps of a long search or count; true ends it early. Empty: never stop.
using StopRequest = std::function<bool()>;

}  // namespace haoma::generate
