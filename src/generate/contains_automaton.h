// SPDX-License-Identifier: MIT
#pragma once
// The strings of --contains as one automaton over the digits (Aho-Corasick): a state per
// prefix of a string, each digit leading to the longest prefix the digits read end with.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "generate/tail_rule.h"

namespace haoma::generate {

struct ContainsAutomaton {
    // Built for at most 64 distinct strings (the command line refuses more); a string
    // with a digit outside `allowed`, or anything but digits, can never be written.
    ContainsAutomaton(const std::vector<std::string>& contains, DigitSet allowed);

    // The state after `digit` (0 to 9) from `state`.
    int after(int state, int digit) const {
        return step[static_cast<std::size_t>(state)][static_cast<std::size_t>(digit)];
    }

    bool possible = true;                    // every string can be written at all
    std::vector<std::array<int, 10>> step;   // by state and digit: the state after it
    std::vector<std::uint64_t> output;       // by state: the strings it completes
    std::vector<std::uint8_t> stringLength;  // by string
    std::vector<std::uint8_t> need;          // by state and string: digits still to write
    std::uint64_t wanted = 0;                // every string found
};

}  // namespace haoma::generate
