// SPDX-License-Identifier: MIT
#pragma once
// A run's numbers in blocks, whatever the plan: the all-numbers and pretty runs walk their
// fillers in whole blocks, a run with patterns or a rule visits only the numbers it prints.
// The caller asks for the next block, may stop between blocks, and (the window) may read the
// planned total afresh for every block.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "generate/pattern_kind.h"
#include "generate/run_plan.h"

namespace haoma::generate {

class RunStream {
  public:
    RunStream(const RunPlan& plan, std::string_view lineEnd, StopRequest stop = {});
    ~RunStream();
    RunStream(const RunStream&) = delete;
    RunStream& operator=(const RunStream&) = delete;

    // More segment lines after the plan's (a stream read as it comes); the every-number run
    // only.
    void append(std::vector<std::string> lines);
    // Asked when each of the plan's pretty kinds has its turn: false passes it over (the
    // window reads its check boxes then).
    void setKindGate(std::function<bool(PatternKind)> gate);

    // Appends at most `maxNumbers` numbers, none past the plan's limit; how many.
    std::size_t next(std::size_t maxNumbers, std::string& out);
    // The same with the window's planned total, read afresh for each block. The every-number
    // run tests it after each number (a block gives at least one while any is left), the
    // others before each.
    std::size_t next(std::int64_t plannedTotal, std::size_t maxNumbers, std::string& out);

    bool finished() const;
    RunFault fault() const;
    // The pretty kind being made, while one is.
    std::optional<PatternKind> kind() const;
    // Whether the run stands inside a segment line (some of its numbers given, some to come).
    bool insideSegment() const;

    class Engine;

  private:
    std::unique_ptr<Engine> engine_;
    std::int64_t limit_ = 0;
};

}  // namespace haoma::generate
