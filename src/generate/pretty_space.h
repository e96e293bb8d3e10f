// SPDX-License-Identifier: MIT
#pragma once
// The pretty numbers of the nine kinds under a tail rule, counted and sampled without
// generating them: inside one segment line a kind's numbers are, suffix by suffix, the
// numbers of a digit pattern (the suffix's digits, after a filler digit that must not
// lengthen the run where the kind says so).

#include <array>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "generate/pattern_kind.h"
#include "generate/tail_rule.h"

namespace haoma::generate {

using WantedKinds = std::array<bool, kPatternKindCount>;

// How many numbers the pretty run of the wanted kinds gives whose digits after the segment
// pass the rule (saturating). Nothing when a stop request cut it short.
std::optional<std::uint64_t> countPrettyNumbers(const std::vector<std::string>& segments,
                                                const WantedKinds& wanted, const TailRule& rule,
                                                const StopRequest& stop = {});

// `count` distinct places of that run (all when there are fewer) chosen uniformly at
// random, in the run's order: kind by kind, segment line by segment line, ascending. Time
// grows with `count` and the number of segment lines, never with the run's length.
std::optional<std::vector<std::string>> samplePrettyNumbers(
    const std::vector<std::string>& segments, const WantedKinds& wanted, const TailRule& rule,
    std::uint64_t count, std::mt19937_64& random, const StopRequest& stop = {});

}  // namespace haoma::generate
