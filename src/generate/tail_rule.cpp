// SPDX-License-Identifier: MIT
#include "generate/tail_rule.h"

#include <algorithm>

namespace haoma::generate {

bool TailRule::accepts(std::string_view digits) const {
    return std::all_of(contains.begin(), contains.end(), [&](const std::string& wanted) {
        return digits.find(wanted) != std::string_view::npos;
    });
}

bool keepsLine(const TailRule& rule, std::string_view line) {
    return !rule.wholeNumber || std::all_of(line.begin(), line.end(), [&](char c) {
        return c < '0' || c > '9' || holds(rule.allowed, c - '0');
    });
}

DigitSet digitsWithout(std::string_view without) {
    DigitSet digits = kAnyDigit;
    for (const char c : without) {
        if (c >= '0' && c <= '9') {
            digits = static_cast<DigitSet>(digits & ~(1U << (c - '0')));
        }
    }
    return digits;
}

}  // namespace haoma::generate
