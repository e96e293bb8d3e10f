// SPDX-License-Identifier: MIT
#pragma once
// One description of a run, whatever asks for it: the segment lines, which of their numbers
// (every number, the pretty numbers of some kinds, or those matching a union of patterns),
// the rule on their digits, and the limit. From it the core gives the run's exact count
// (countRun, RunCounter), the run itself in blocks (RunStream) and a seeded sample of it
// (SampleStream); haoma-cli and the window build a plan from their options and controls and
// call these, never choosing between the kinds of run themselves.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "generate/digit_pattern.h"
#include "generate/pretty_space.h"
#include "generate/tail_rule.h"

namespace haoma::generate {

struct RunPlan {
    std::vector<std::string> segments;
    // How many times each segment line stands in the run, one after the other (a line read
    // many times over is held once); empty: each once. Counts and samples only.
    std::vector<std::uint64_t> repeats;
    std::optional<WantedKinds> pretty;   // the pretty run of these kinds, when set;
    std::vector<DigitPattern> patterns;  // else the numbers that match any (none: every one)
    TailRule rule;
    std::optional<std::uint64_t> limit;  // at most this many numbers (the planned total)

    bool hasRule() const { return rule.allowed != kAnyDigit || !rule.contains.empty(); }
    // The all-numbers run of the window: every number, no rule.
    bool everyNumber() const { return !pretty && patterns.empty() && !hasRule(); }
};

// Why a count, sample or run ended without its whole answer.
enum class RunFault : std::uint8_t {
    None,
    Stopped,     // a stop request (an interrupt, the window ending)
    TooComplex,  // the --contains strings need more states than the core keeps
    Overflow,    // the count passes 2^64 - 1
};

struct RunCount {
    std::uint64_t numbers = 0;  // before the limit
    RunFault fault = RunFault::None;
};

// Counts a run line by line, each line as it comes and never kept: every shape of line
// counted once. Overflow past 2^64 - 1 is a fault, never a saturated number.
class RunCounter {
  public:
    // For the selection and rule of `plan` (its lines are not read).
    RunCounter(const RunPlan& plan, StopRequest stop = {});
    RunCounter(const RunCounter&) = delete;
    RunCounter& operator=(const RunCounter&) = delete;

    // Adds a line standing `repeat` times; false once a fault ended the count.
    bool add(std::string_view segment, std::uint64_t repeat = 1);
    // The numbers one line gives (a fault leaves it 0).
    std::uint64_t lineCount(std::string_view segment);
    // The numbers of one pretty kind on the line.
    std::uint64_t kindLineCount(PatternKind kind, std::string_view segment);
    const RunCount& total() const { return total_; }

  private:
    std::uint64_t matchCount(std::string_view segment);

    std::optional<WantedKinds> pretty_;
    std::vector<DigitPattern> patterns_;
    TailRule rule_;
    StopRequest stop_;
    std::size_t reach_ = 0;  // the longest pattern: how far into a line the patterns look
    std::optional<NumberSpace> space_;
    std::optional<PrettySpaces> prettySpaces_;
    std::map<std::string, std::uint64_t, std::less<>> known_;
    RunCount total_;
    std::uint64_t linesSinceAsked_ = 0;
};

// How many numbers the whole run has (its limit not applied).
RunCount countRun(const RunPlan& plan, const StopRequest& stop = {});

// How many numbers a run of `total` prints: all up to the limit, or a sample, again up to
// the limit.
std::uint64_t numbersGiven(std::uint64_t total, std::optional<std::uint64_t> limit,
                           std::optional<std::uint64_t> sample);

}  // namespace haoma::generate
