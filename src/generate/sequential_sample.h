// SPDX-License-Identifier: MIT
#pragma once
// Distinct ranks drawn in ascending order as they are needed: every set of `wanted` ranks
// below `population` equally likely, in time proportional to `wanted` and memory that does
// not grow with it (Vitter's method D, 1987, with his method A where the sample is dense).

#include <cstdint>
#include <optional>
#include "generate/rank_random.h"

namespace haoma::generate {

class SequentialSample {
  public:
    // min(wanted, population) ranks, drawn with `random` (which must outlive this).
    SequentialSample(std::uint64_t population, std::uint64_t wanted, RankRandom& random);

    // The next rank, ascending; nothing once all are drawn.
    std::optional<std::uint64_t> next();
    std::uint64_t remaining() const { return wanted_; }

  private:
    // How many records to pass over before the next chosen one.
    std::uint64_t skipD();
    std::uint64_t skipA();
    // Makes method D's carried uniform ready for the ranks still wanted.
    void carry();

    RankRandom& random_;
    std::uint64_t population_;  // records not yet passed
    std::uint64_t wanted_;      // ranks not yet drawn
    std::uint64_t position_ = 0;
    double vPrime_ = 0;     // method D's carried uniform, raised to 1 / wanted_
    bool carried_ = false;  // whether vPrime_ is ready
};

}  // namespace haoma::generate
