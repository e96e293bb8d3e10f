// SPDX-License-Identifier: MIT
#include "generate/runs.h"

#include <algorithm>
#include <iterator>

#include "text/text.h"

namespace haoma::generate {

std::vector<std::string> segmentList(std::string_view boxText) {
    return text::split(boxText, "\r\n");
}

AllNumbersRun::AllNumbersRun(std::vector<std::string> segments, std::string_view lineEnd)
    : segments_(std::move(segments)), walk_(NumberWalk::allNumbers(segments_, lineEnd)) {}

std::size_t AllNumbersRun::next(std::int64_t plannedTotal, std::size_t sliceMax, std::string& out) {
    if (finished()) {
        return 0;
    }
    // The test follows each number, so one more number always goes out.
    const std::int64_t untilTotal = std::max<std::int64_t>(plannedTotal - count_, 1);
    const auto wanted = std::min(sliceMax, static_cast<std::size_t>(untilTotal));
    const std::size_t emitted = walk_.produce(wanted, out);
    count_ += static_cast<std::int64_t>(emitted);
    if (emitted > 0 && count_ >= plannedTotal) {
        stopped_ = true;
    }
    return emitted;
}

void AllNumbersRun::append(std::vector<std::string> more) {
    segments_.insert(segments_.end(), std::make_move_iterator(more.begin()),
                     std::make_move_iterator(more.end()));
    walk_.rebind(segments_);
}

PrettyRun::PrettyRun(std::vector<std::string> segments, std::string_view lineEnd)
    : segments_(std::move(segments)), lineEnd_(lineEnd) {}

std::optional<PatternKind> PrettyRun::kindAtTurn() const {
    if (turn_ >= kPatternKindCount) {
        return std::nullopt;
    }
    return patternTable()[static_cast<std::size_t>(turn_)].kind;
}

void PrettyRun::beginKind() {
    if (const auto kind = kindAtTurn(); kind && !walk_) {
        walk_ = NumberWalk::pattern(segments_, *kind, lineEnd_);
    }
}

void PrettyRun::skipKind() {
    if (!walk_ && turn_ < kPatternKindCount) {
        ++turn_;
    }
}

void PrettyRun::endKind() {
    walk_.reset();
    ++turn_;
}

std::size_t PrettyRun::next(std::int64_t plannedTotal, std::size_t sliceMax, std::string& out) {
    if (!walk_) {
        return 0;
    }
    const std::int64_t untilTotal = plannedTotal - count_;
    if (untilTotal <= 0) {
        endKind();  // the kind's next candidate meets the total
        return 0;
    }
    const auto wanted = std::min(sliceMax, static_cast<std::size_t>(untilTotal));
    const std::size_t emitted = walk_->produce(wanted, out);
    count_ += static_cast<std::int64_t>(emitted);
    if (walk_->finished()) {
        endKind();
    }
    return emitted;
}

}  // namespace haoma::generate
