// SPDX-License-Identifier: MIT
#pragma once
// A block of output lines that differ only in their last digits, laid out once: each use
// rewrites only the leading bytes that changed since the last one, so a big list costs
// little more than copying its bytes.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "generate/tail_rule.h"

namespace haoma::generate {

class LineBlock {
  public:
    // Lines of `prefixLength` leading bytes, then one digit of each set of `tails` (every
    // combination, ascending), then `lineEnd`. The leading bytes are set by with().
    void layout(std::size_t prefixLength, std::span<const DigitSet> tails,
                std::string_view lineEnd);
    // Whether the block has this shape already.
    bool laidOut(std::size_t prefixLength, std::span<const DigitSet> tails,
                 std::string_view lineEnd) const;

    // The block with `prefix` (of the laid-out length) as every line's leading bytes.
    const std::string& with(std::string_view prefix);
    std::size_t lines() const { return lines_; }

  private:
    std::string block_;
    std::string prefix_;  // what the lines lead with now
    std::string tails_;   // the shape: tail sets and line end
    std::size_t lineLength_ = 0;
    std::size_t lines_ = 0;
};

}  // namespace haoma::generate
