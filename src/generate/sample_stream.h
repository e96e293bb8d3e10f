// SPDX-License-Identifier: MIT
#pragma once
// A seeded sample of a run: distinct numbers chosen uniformly among all the run gives, drawn
// by rank and written as they are drawn. In the run's order the ranks come ascending one at a
// time (memory independent of the sample's size); shuffled, the ranks alone are held (8 bytes
// a number) and written in random order. One seed gives one sample, in the window and on the
// command line, on every system.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "generate/run_plan.h"
#include "generate/sequential_sample.h"

namespace haoma::generate {

class RunParts;

class SampleStream {
  public:
    // A sample of `wanted` numbers (fewer when the run, or its limit, has fewer), drawn with
    // a generator seeded by `seed`, lines ending in `lineEnd`. Counts the run first: fault()
    // says when that failed.
    SampleStream(const RunPlan& plan, std::uint64_t wanted, std::uint64_t seed, bool shuffle,
                 std::string_view lineEnd, StopRequest stop = {});
    ~SampleStream();
    SampleStream(const SampleStream&) = delete;
    SampleStream& operator=(const SampleStream&) = delete;

    RunFault fault() const { return fault_; }
    // How many numbers the run has, and how many the sample gives.
    std::uint64_t runTotal() const { return total_; }
    std::uint64_t size() const { return size_; }

    // Appends at most `maxNumbers` more numbers; how many. A shuffled sample draws all its
    // ranks at the first call.
    std::size_t next(std::size_t maxNumbers, std::string& out);
    bool finished() const { return written_ >= size_ || fault_ != RunFault::None; }

  private:
    bool drawShuffled();

    std::unique_ptr<RunParts> parts_;
    RankRandom random_;
    std::optional<SequentialSample> ascending_;
    std::vector<std::uint64_t> shuffled_;
    bool shuffle_;
    bool drawn_ = false;
    std::string lineEnd_;
    StopRequest stop_;
    RunFault fault_ = RunFault::None;
    std::uint64_t total_ = 0;
    std::uint64_t size_ = 0;
    std::uint64_t written_ = 0;
};

}  // namespace haoma::generate
