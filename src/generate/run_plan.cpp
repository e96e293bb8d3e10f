// SPDX-License-Identifier: MIT
#include "generate/run_plan.h"

#include <algorithm>

#include "generate/filler.h"
#include "generate/pattern_match.h"
#include "text/text.h"

namespace haoma::generate {
namespace {

constexpr std::uint64_t kStopAskEvery = 1024;  // lines between two stop requests

// What decides a line's count under patterns and a rule: its filler width and the cells the
// patterns reach, or (`whole`: strings looked for in the whole number) the whole line.
std::string countKey(std::string_view segment, std::size_t reach, bool whole) {
    const int length = text::gbkLength(segment);
    if (length > kNumberLength) {
        return "-";
    }
    const auto width = static_cast<std::size_t>(kNumberLength - length);
    if (whole) {
        return std::to_string(width) + ":" + std::string(segment);
    }
    const std::size_t inside = reach > width ? reach - width : 0;
    // A character that is not ASCII is no digit: any such tail counts the same.
    std::string tail(segment.substr(segment.size() - std::min(inside, segment.size())));
    for (char& c : tail) {
        if (c < '0' || c > '9') {
            c = 'x';
        }
    }
    return std::to_string(width) + ":" + tail;
}

std::uint64_t power10(int exponent) {
    std::uint64_t value = 1;
    for (int i = 0; i < exponent; ++i) {
        value *= 10;
    }
    return value;
}

}  // namespace

RunCounter::RunCounter(const RunPlan& plan, StopRequest stop)
    : pretty_(plan.pretty), patterns_(plan.patterns), rule_(plan.rule), stop_(std::move(stop)) {
    for (const auto& pattern : patterns_) {
        reach_ = std::max(reach_, pattern.positions.size());
    }
    if (pretty_ && plan.hasRule()) {
        prettySpaces_.emplace(rule_, stop_);
    } else if (!pretty_ && (patterns_.size() > 1 || !rule_.contains.empty())) {
        space_.emplace(patterns_, rule_, stop_);
    }
}

std::uint64_t RunCounter::kindLineCount(PatternKind kind, std::string_view segment) {
    if (!prettySpaces_) {
        return kindCount(kind, segment);
    }
    const int width = kindFillerWidth(kind, segment);
    if (width < 0) {
        return 0;
    }
    const bool whole = rule_.wholeNumber && !rule_.contains.empty();
    std::string key = "k" + std::to_string(static_cast<int>(kind)) + ":" + std::to_string(width) +
                      ":" + (whole ? std::string(segment) : "");
    if (const auto known = known_.find(key); known != known_.end()) {
        return known->second;
    }
    const NumberSpace* space = prettySpaces_->at(kind, segment);
    if (space->stopped() || space->tooComplex()) {
        total_.fault = space->stopped() ? RunFault::Stopped : RunFault::TooComplex;
        return 0;
    }
    known_.emplace(std::move(key), space->count());
    return space->count();
}

std::uint64_t RunCounter::matchCount(std::string_view segment) {
    if (patterns_.empty() && rule_.allowed == kAnyDigit && rule_.contains.empty()) {
        const int length = text::gbkLength(segment);
        return length > kNumberLength ? 0 : power10(kNumberLength - length);
    }
    std::string key = countKey(segment, reach_, rule_.wholeNumber && !rule_.contains.empty());
    if (key == "-") {
        return 0;
    }
    if (const auto known = known_.find(key); known != known_.end()) {
        return known->second;
    }
    std::uint64_t count = 0;
    if (space_) {
        space_->reset(segment);
        if (space_->stopped() || space_->tooComplex()) {
            total_.fault = space_->stopped() ? RunFault::Stopped : RunFault::TooComplex;
            return 0;
        }
        count = space_->count();
    } else {
        count =
            SegmentMatches(segment, patterns_.empty() ? nullptr : &patterns_.front(), rule_.allowed)
                .count();
    }
    known_.emplace(std::move(key), count);
    return count;
}

std::uint64_t RunCounter::lineCount(std::string_view segment) {
    if (!keepsLine(rule_, segment)) {
        return 0;
    }
    if (!pretty_) {
        return matchCount(segment);
    }
    std::uint64_t count = 0;
    for (const auto& row : patternTable()) {
        if ((*pretty_)[static_cast<std::size_t>(row.kind)]) {
            count += kindLineCount(row.kind, segment);  // at most 9 x 10^11: no overflow
        }
    }
    return count;
}

bool RunCounter::add(std::string_view segment, std::uint64_t repeat) {
    if (total_.fault != RunFault::None) {
        return false;
    }
    if (stop_ && ++linesSinceAsked_ >= kStopAskEvery) {
        linesSinceAsked_ = 0;
        if (stop_()) {
            total_.fault = RunFault::Stopped;
            return false;
        }
    }
    const std::uint64_t count = lineCount(segment);
    if (total_.fault != RunFault::None) {
        return false;
    }
    if ((repeat != 0 && count > UINT64_MAX / repeat) ||
        count * repeat > UINT64_MAX - total_.numbers) {
        total_.fault = RunFault::Overflow;
        return false;
    }
    total_.numbers += count * repeat;
    return true;
}

RunCount countRun(const RunPlan& plan, const StopRequest& stop) {
    RunCounter counter(plan, stop);
    for (std::size_t at = 0; at < plan.segments.size(); ++at) {
        if (!counter.add(plan.segments[at], plan.repeats.empty() ? 1 : plan.repeats[at])) {
            break;
        }
    }
    return counter.total();
}

std::uint64_t numbersGiven(std::uint64_t total, std::optional<std::uint64_t> limit,
                           std::optional<std::uint64_t> sample) {
    return std::min({total, limit.value_or(UINT64_MAX), sample.value_or(UINT64_MAX)});
}

}  // namespace haoma::generate
