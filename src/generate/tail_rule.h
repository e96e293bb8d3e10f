// SPDX-License-Identifier: MIT
#pragma once
// The rules on the digits after the segment (--without, --contains), and the question a
// long search or count asks now and then: whether to stop.

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

    bool accepts(std::string_view digits) const;
};

// The digits of `without` taken away from all ten.
DigitSet digitsWithout(std::string_view without);

// Asked between steps of a long search or count; true ends it early. Empty: never stop.
using StopRequest = std::function<bool()>;

}  // namespace haoma::generate
