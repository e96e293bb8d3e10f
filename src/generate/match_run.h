// SPDX-License-Identifier: MIT
#pragma once
// The numbers of a list of segment lines that match any of a union of digit patterns, with
// the rules on the digits after the segment (--without, --contains): segment by segment in
// list order, ascending inside a segment, each number once. Also their exact count, and a
// uniform sample of them.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "generate/digit_pattern.h"
#include "generate/line_block.h"
#include "generate/number_space.h"
#include "generate/pattern_match.h"
#include "generate/tail_rule.h"

namespace haoma::generate {

// The matches of one segment line under every pattern (every number when there is none),
// merged: ascending, each number once.
class MergedMatches {
  public:
    // For the patterns (which must outlive it); enter() gives it a segment.
    MergedMatches(const std::vector<DigitPattern>& patterns, DigitSet allowed);
    MergedMatches(std::string_view segment, const std::vector<DigitPattern>& patterns,
                  DigitSet allowed);
    // Moves to the matches of another segment line.
    void enter(std::string_view segment);
    MergedMatches(const MergedMatches&) = delete;  // current_ points into matches_
    MergedMatches& operator=(const MergedMatches&) = delete;

    bool valid() const { return current_ != nullptr; }
    const SegmentMatches& current() const { return *current_; }
    // The only matcher when there is one pattern (or none), else null.
    SegmentMatches* single() { return matches_.size() == 1 ? current_ : nullptr; }
    void advance();

  private:
    void pick();

    std::vector<SegmentMatches> matches_;
    SegmentMatches* current_ = nullptr;
};

class MatchRun {
  public:
    // No patterns: every number (the all-numbers run's numbers under the tail rule). `stop`
    // is asked while counts that --contains needs are computed.
    MatchRun(std::vector<std::string> segments, std::vector<DigitPattern> patterns, TailRule rule,
             std::string_view lineEnd, StopRequest stop = {});
    MatchRun(const MatchRun&) = delete;
    MatchRun& operator=(const MatchRun&) = delete;

    // Appends at most `maxNumbers` numbers to `out`, none past a run count of `limit`;
    // returns how many it appended.
    std::size_t next(std::uint64_t limit, std::size_t maxNumbers, std::string& out);
    bool finished() const { return stopped_ || segment_ >= segments_.size() || count_ >= limit_; }
    // True when a stop request ended the run early, or (tooComplex()) its --contains strings
    // need more states than the core keeps.
    bool stopped() const { return stopped_; }
    bool tooComplex() const { return tooComplex_; }
    // How many segment lines the run has left behind, for a measure of the part searched.
    std::size_t segmentsDone() const { return segment_; }

  private:
    bool enterSegment();
    std::size_t nextInSpace(std::size_t maxNumbers, std::string& out);
    // Asked after each number written on its own: true ends the run early.
    bool stopNow();
    // Whole blocks of a single pattern of fixed digit sets; how many numbers.
    std::size_t nextBlocks(SegmentMatches& only, std::size_t room, std::string& out);

    std::vector<std::string> segments_;
    std::vector<DigitPattern> patterns_;
    TailRule rule_;
    std::string lineEnd_;
    std::size_t segment_ = 0;
    MergedMatches merged_;
    std::optional<NumberSpace> space_;  // with --contains: a walk without dead ends
    StopRequest stop_;
    std::size_t sinceAsked_ = 0;  // numbers written one by one since the stop was asked
    bool entered_ = false;
    bool stopped_ = false;
    bool tooComplex_ = false;
    std::string line_;  // the current number and line end
    LineBlock block_;
    int blockLevels_ = -1;  // the levels of one block in the current segment, once known
    std::size_t blockLines_ = 0;
    std::uint64_t count_ = 0;
    std::uint64_t limit_ = UINT64_MAX;
};

// How many numbers the run gives in all (saturating): see countRun, which it asks. Nothing
// when a stop request cut it short or the rule needs too many states.
std::optional<std::uint64_t> countMatches(const std::vector<std::string>& segments,
                                          const std::vector<DigitPattern>& patterns,
                                          const TailRule& rule, const StopRequest& stop = {});

}  // namespace haoma::generate
