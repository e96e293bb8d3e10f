// SPDX-License-Identifier: MIT
#pragma once
// A run as a sequence of parts, each one segment line (and for the pretty run one kind),
// with the count of each, and the number of a given rank inside a part: where a sample finds
// the numbers its ranks name.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "generate/number_space.h"
#include "generate/pattern_match.h"
#include "generate/pretty_space.h"
#include "generate/run_plan.h"

namespace haoma::generate {

class RunParts {
  public:
    // Counts every part of the plan's run; fault() says when that failed.
    RunParts(const RunPlan& plan, StopRequest stop);

    RunFault fault() const { return fault_; }
    std::uint64_t total() const { return starts_.empty() ? 0 : starts_.back(); }

    // Appends the number of rank `rank` in the whole run (below total()). Ranks that rise
    // from call to call are found without a search.
    void append(std::uint64_t rank, std::string& out);

  private:
    struct Part {
        std::size_t segment;
        int kind;                   // the pretty kind, -1 for the other runs
        std::uint64_t perLine = 0;  // numbers of one of the line's repeats
    };
    void enter(std::size_t part);
    void appendInside(std::uint64_t rank, std::string& out);

    RunPlan plan_;
    std::vector<Part> parts_;
    std::vector<std::uint64_t> starts_;  // by part: the rank of its first number; then total
    RunFault fault_ = RunFault::None;
    std::size_t current_ = SIZE_MAX;
    std::size_t fillerWidth_ = 0;  // every number: the current line's filler digits
    std::optional<SegmentMatches> matches_;
    std::optional<NumberSpace> space_;
    std::optional<PrettySpaces> prettySpaces_;
    NumberSpace* kindSpace_ = nullptr;
};

}  // namespace haoma::generate
