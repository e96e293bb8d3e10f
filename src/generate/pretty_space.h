// SPDX-License-Identifier: MIT
#pragma once
// The pretty numbers of the nine kinds as digit patterns, for counts, samples and runs under
// a tail rule: inside one segment line a kind's numbers are, in the run's order, those of a
// union of patterns, one per suffix (its digits, after a filler digit that must not lengthen
// the run where the kind says so). Without a rule their ranks are plain arithmetic.

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "generate/digit_pattern.h"
#include "generate/number_space.h"
#include "generate/pattern_kind.h"
#include "generate/tail_rule.h"

namespace haoma::generate {

using WantedKinds = std::array<bool, kPatternKindCount>;

// The kind's suffixes as patterns over a number's last digits; `hasFiller`: the line leaves
// filler digits before the suffix, so the kind's skip applies to the last of them.
std::vector<DigitPattern> kindPatterns(PatternKind kind, bool hasFiller);

// How many filler digits the kind leaves a segment line before its suffix; -1 when the line
// is too long for the kind.
int kindFillerWidth(PatternKind kind, std::string_view segment);

// How many numbers the kind gives on the line without a rule.
std::uint64_t kindCount(PatternKind kind, std::string_view segment);

// Appends the number with 0-based rank `rank` (below kindCount) of the kind on the line, in
// the run's order.
void appendKindNumber(PatternKind kind, std::string_view segment, std::uint64_t rank,
                      std::string& out);

// One union space for each kind and filler presence, each kept across lines of one shape.
class PrettySpaces {
  public:
    PrettySpaces(const TailRule& rule, StopRequest stop) : rule_(rule), stop_(std::move(stop)) {}

    // The kind's numbers on the line, reset to it; null when the line is too long for the kind.
    NumberSpace* at(PatternKind kind, std::string_view segment);

  private:
    TailRule rule_;
    StopRequest stop_;
    std::map<std::pair<int, bool>, std::unique_ptr<NumberSpace>> spaces_;
};

}  // namespace haoma::generate
