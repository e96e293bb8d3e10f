// SPDX-License-Identifier: MIT
#pragma once
// The two generation runs as resumable generators: the caller asks for the next slice of
// numbers, reads the planned total afresh for every slice, and may stop between slices.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "generate/number_walk.h"
#include "generate/pattern_kind.h"

namespace haoma::generate {

// The segment list of a run: the segment box's text split at "\r\n", lines unchanged.
std::vector<std::string> segmentList(std::string_view boxText);

// Every number of every segment line. The planned-total test comes after each number: a
// slice emits at least one number while any is left, even when the total is not positive.
class AllNumbersRun {
  public:
    AllNumbersRun(std::vector<std::string> segments, std::string_view lineEnd);
    AllNumbersRun(const AllNumbersRun&) = delete;  // the walk looks into segments_
    AllNumbersRun& operator=(const AllNumbersRun&) = delete;

    // Appends the next numbers to `out`: at most `sliceMax`, and none past the point where
    // the run count reaches `plannedTotal`. Returns how many were appended.
    std::size_t next(std::int64_t plannedTotal, std::size_t sliceMax, std::string& out);

    bool finished() const { return stopped_ || walk_.finished(); }
    bool insideSegment() const { return walk_.insideSegment(); }
    // More segment lines after those given (a stream read as it comes).
    void append(std::vector<std::string> more);
    std::int64_t runCount() const { return count_; }

  private:
    std::vector<std::string> segments_;
    NumberWalk walk_;
    std::int64_t count_ = 0;
    bool stopped_ = false;
};

// The pretty numbers: kind after kind in the fixed order. Whether a kind is generated is
// the caller's decision when its turn comes (beginKind or skipKind). The planned-total test
// comes before each number: a kind stops at its first candidate once the count has reached
// the total, and every later kind still gets its turn.
class PrettyRun {
  public:
    PrettyRun(std::vector<std::string> segments, std::string_view lineEnd);
    PrettyRun(const PrettyRun&) = delete;  // the walk looks into segments_
    PrettyRun& operator=(const PrettyRun&) = delete;

    // The kind whose turn it is, when no kind is being generated; nothing after the last.
    std::optional<PatternKind> kindAtTurn() const;
    void beginKind();
    void skipKind();
    // True while the kind at turn is being generated.
    bool kindActive() const { return walk_.has_value(); }

    // Appends the next numbers of the active kind; ends the kind when its walk ends or the
    // run count has reached `plannedTotal`.
    std::size_t next(std::int64_t plannedTotal, std::size_t sliceMax, std::string& out);

    bool finished() const { return !kindAtTurn().has_value(); }
    // True while the active kind stands inside a segment.
    bool insideSegment() const { return walk_ && walk_->insideSegment(); }
    std::int64_t runCount() const { return count_; }

  private:
    void endKind();

    std::vector<std::string> segments_;
    std::string lineEnd_;
    int turn_ = 0;
    std::optional<NumberWalk> walk_;
    std::int64_t count_ = 0;
};

}  // namespace haoma::generate
