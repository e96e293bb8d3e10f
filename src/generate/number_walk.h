// SPDX-License-Identifier: MIT
#pragma once
// The walk over segment lines, fillers and suffixes that both runs share.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "generate/filler.h"
#include "generate/line_block.h"
#include "generate/pattern_kind.h"

namespace haoma::generate {

// How many numbers a walk over these segments gives when nothing stops it (saturating).
std::uint64_t countAllNumbers(std::span<const std::string> segments);
std::uint64_t countPatternNumbers(std::span<const std::string> segments, PatternKind kind);

// Walks the candidates segment-major, then filler ascending, then in suffix-table order,
// and writes the numbers that no skip rule removes. A segment whose GBK length exceeds the
// limit is passed over. The walk is resumable: each call to produce() goes on where the last
// stopped.
class NumberWalk {
  public:
    // All numbers: limit 11, no suffix. Every number is followed by `lineEnd`.
    static NumberWalk allNumbers(std::span<const std::string> segments, std::string_view lineEnd);
    // The pretty numbers of one kind.
    static NumberWalk pattern(std::span<const std::string> segments, PatternKind kind,
                              std::string_view lineEnd);

    // Appends at most `maxNumbers` numbers to `out`; returns how many it appended. Fewer
    // than asked only when the walk has ended.
    std::size_t produce(std::size_t maxNumbers, std::string& out);

    bool finished() const { return segment_ >= segments_.size(); }
    // Looks at the same lines where they now lie, with more after them (a list that grew).
    void rebind(std::span<const std::string> segments) { segments_ = segments; }
    // True while the walk stands inside an accepted segment (some of its candidates done,
    // some still to come).
    bool insideSegment() const { return entered_; }
    // Index of the segment line the walk stands at (the number of lines left behind).
    std::size_t segmentIndex() const { return segment_; }

  private:
    NumberWalk(std::span<const std::string> segments, int segmentLimit,
               std::span<const Suffix> suffixes, int suffixLength, std::string_view lineEnd);

    bool enterSegment();
    void leaveSegment();
    std::size_t produceAllNumbers(std::size_t maxNumbers, std::string& out);
    std::size_t producePattern(std::size_t maxNumbers, std::string& out);
    // The filler digits inside the line template (the template may move with the walk).
    FillerOdometer filler() { return {line_.data() + fillerStart_, fillerWidth_}; }

    std::span<const std::string> segments_;
    int segmentLimit_;
    std::span<const Suffix> suffixes_;
    int suffixLength_;
    std::string lineEnd_;

    std::size_t segment_ = 0;
    bool entered_ = false;
    std::string line_;  // segment, filler, suffix and line end of the current candidate
    std::size_t fillerStart_ = 0;
    std::size_t suffixStart_ = 0;
    int fillerWidth_ = 0;
    std::size_t suffix_ = 0;  // next suffix of the current filler
    LineBlock block_;         // the lines of one group of fillers, for whole groups at once
};

}  // namespace haoma::generate
