// SPDX-License-Identifier: MIT
#include "generate/match_run.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <limits>
#include <span>

#include "generate/filler.h"
#include "generate/run_plan.h"

namespace haoma::generate {

MergedMatches::MergedMatches(const std::vector<DigitPattern>& patterns, DigitSet allowed) {
    matches_.reserve(std::max<std::size_t>(patterns.size(), 1));
    if (patterns.empty()) {
        matches_.emplace_back(nullptr, allowed);
    }
    for (const auto& pattern : patterns) {
        matches_.emplace_back(&pattern, allowed);
    }
}

MergedMatches::MergedMatches(std::string_view segment, const std::vector<DigitPattern>& patterns,
                             DigitSet allowed)
    : MergedMatches(patterns, allowed) {
    enter(segment);
}

void MergedMatches::enter(std::string_view segment) {
    for (auto& matches : matches_) {
        matches.reset(segment);
    }
    pick();
}

void MergedMatches::advance() {
    if (matches_.size() == 1) {
        current_->advance();
        current_ = current_->valid() ? current_ : nullptr;
        return;
    }
    const std::uint64_t value = current_->fillerValue();
    for (auto& matches : matches_) {
        if (matches.valid() && matches.fillerValue() == value) {
            matches.advance();
        }
    }
    pick();
}

void MergedMatches::pick() {
    current_ = nullptr;
    std::uint64_t lowest = std::numeric_limits<std::uint64_t>::max();
    for (auto& matches : matches_) {
        if (matches.valid() && (current_ == nullptr || matches.fillerValue() < lowest)) {
            lowest = matches.fillerValue();
            current_ = &matches;
        }
    }
}

MatchRun::MatchRun(std::vector<std::string> segments, std::vector<DigitPattern> patterns,
                   TailRule rule, std::string_view lineEnd, StopRequest stop)
    : segments_(std::move(segments)),
      patterns_(std::move(patterns)),
      rule_(std::move(rule)),
      lineEnd_(lineEnd),
      merged_(patterns_, rule_.allowed),
      stop_(std::move(stop)) {
    if (!rule_.contains.empty()) {
        space_.emplace(patterns_, rule_, stop_);
    }
}

bool MatchRun::stopNow() {
    if (++sinceAsked_ < 4096) {
        return false;
    }
    sinceAsked_ = 0;
    stopped_ = stop_ && stop_();
    return stopped_;
}

std::size_t MatchRun::nextInSpace(std::size_t maxNumbers, std::string& out) {
    std::size_t produced = 0;
    while (produced < maxNumbers && count_ < limit_ && segment_ < segments_.size()) {
        if (!entered_) {
            space_->reset(segments_[segment_]);
            entered_ = true;
            const auto width = static_cast<std::size_t>(space_->fillerWidth());
            line_.assign(segments_[segment_]).append(width, '0').append(lineEnd_);
        }
        if (space_->stopped() || space_->tooComplex()) {
            stopped_ = true;
            tooComplex_ = space_->tooComplex();
            break;
        }
        if (!space_->valid()) {
            entered_ = false;
            ++segment_;
            continue;
        }
        const auto width = static_cast<std::size_t>(space_->fillerWidth());
        std::memcpy(line_.data() + line_.size() - lineEnd_.size() - width, space_->filler(), width);
        out.append(line_);
        ++produced;
        ++count_;
        space_->advance();
        if (stopNow()) {
            break;
        }
    }
    return produced;
}

bool MatchRun::enterSegment() {
    while (segment_ < segments_.size()) {
        merged_.enter(segments_[segment_]);
        if (merged_.valid()) {
            // The line: the segment, room for the filler, the line end.
            const auto width = static_cast<std::size_t>(merged_.current().fillerWidth());
            line_.assign(segments_[segment_]).append(width, '0').append(lineEnd_);
            entered_ = true;
            blockLevels_ = -1;
            return true;
        }
        ++segment_;
    }
    return false;
}

std::size_t MatchRun::nextBlocks(SegmentMatches& only, std::size_t room, std::string& out) {
    const int width = only.fillerWidth();
    if (blockLevels_ < 0) {
        // Once a segment: the last levels whose combinations make at most 10,000 lines.
        std::array<DigitSet, kNumberLength> sets{};
        blockLines_ = 1;
        blockLevels_ = 0;
        while (blockLevels_ < width) {
            const DigitSet set = only.levelDigits(width - 1 - blockLevels_);
            const auto size = static_cast<std::size_t>(digitCount(set));
            if (blockLines_ * size > 10000) {
                break;
            }
            blockLines_ *= size;
            sets[static_cast<std::size_t>(kNumberLength - 1 - blockLevels_)] = set;
            ++blockLevels_;
        }
        const std::span<const DigitSet> tails(sets.data() + kNumberLength - blockLevels_,
                                              static_cast<std::size_t>(blockLevels_));
        const std::size_t prefixLength =
            line_.size() - lineEnd_.size() - static_cast<std::size_t>(blockLevels_);
        if (blockLevels_ >= 2 && !block_.laidOut(prefixLength, tails, lineEnd_)) {
            block_.layout(prefixLength, tails, lineEnd_);
        }
    }
    if (blockLevels_ < 2) {
        return 0;  // no gain over the per-number path
    }
    const std::size_t prefixLength =
        line_.size() - lineEnd_.size() - static_cast<std::size_t>(blockLevels_);
    const std::size_t fillerAt = line_.size() - lineEnd_.size() - static_cast<std::size_t>(width);
    std::size_t produced = 0;
    while (room - produced >= blockLines_ && merged_.valid() && only.blockStart(blockLevels_)) {
        std::memcpy(line_.data() + fillerAt, only.filler(), static_cast<std::size_t>(width));
        out.append(block_.with({line_.data(), prefixLength}));
        produced += blockLines_;
        only.toBlockEnd(blockLevels_);
        merged_.advance();
    }
    // The room left takes the first lines of one more block.
    if (const std::size_t left = room - produced;
        left > 0 && merged_.valid() && only.blockStart(blockLevels_)) {
        std::memcpy(line_.data() + fillerAt, only.filler(), static_cast<std::size_t>(width));
        out.append(block_.with({line_.data(), prefixLength}).data(), left * line_.size());
        produced += left;
        only.toBlockLine(blockLevels_, left - 1);
        merged_.advance();
    }
    return produced;
}

std::size_t MatchRun::next(std::uint64_t limit, std::size_t maxNumbers, std::string& out) {
    limit_ = limit;
    if (space_) {
        return nextInSpace(maxNumbers, out);
    }
    std::size_t produced = 0;
    while (produced < maxNumbers && count_ < limit_) {
        if (!entered_ && !enterSegment()) {
            break;
        }
        if (!merged_.valid()) {
            entered_ = false;
            ++segment_;
            continue;
        }
        if (SegmentMatches* only = merged_.single(); only != nullptr && only->staticLevels()) {
            const std::size_t room =
                std::min<std::uint64_t>(maxNumbers - produced, limit_ - count_);
            const std::size_t blocks = nextBlocks(*only, room, out);
            produced += blocks;
            count_ += blocks;
            if (blocks > 0) {
                continue;
            }
        }
        const auto& current = merged_.current();
        const auto width = static_cast<std::size_t>(current.fillerWidth());
        const std::string_view filler(current.filler(), width);
        if (rule_.accepts(filler)) {
            const std::size_t fillerAt = line_.size() - lineEnd_.size() - width;
            std::memcpy(line_.data() + fillerAt, filler.data(), width);
            out.append(line_);
            ++produced;
            ++count_;
            // The rest of the last digit's run are matches too: written in one go.
            SegmentMatches* only = merged_.single();
            if (only != nullptr && rule_.contains.empty() && width > 0) {
                DigitSet rest = only->lastDigitRest();
                const std::size_t room =
                    std::min<std::uint64_t>(maxNumbers - produced, limit_ - count_);
                const auto runs =
                    std::min<std::size_t>(static_cast<std::size_t>(digitCount(rest)), room);
                if (runs > 0) {
                    const std::size_t at = out.size();
                    const std::size_t last = line_.size() - lineEnd_.size() - 1;
                    out.resize(at + runs * line_.size());
                    char* write = out.data() + at;
                    int digit = 0;
                    for (std::size_t k = 0; k < runs; ++k) {
                        digit = std::countr_zero(static_cast<unsigned>(rest));
                        rest &= static_cast<DigitSet>(rest - 1);
                        line_[last] = static_cast<char>('0' + digit);
                        std::memcpy(write, line_.data(), line_.size());
                        write += line_.size();
                    }
                    only->setLastDigit(digit);
                    produced += runs;
                    count_ += runs;
                }
            }
        }
        merged_.advance();
        if (stopNow()) {
            break;
        }
    }
    return produced;
}

std::optional<std::uint64_t> countMatches(const std::vector<std::string>& segments,
                                          const std::vector<DigitPattern>& patterns,
                                          const TailRule& rule, const StopRequest& stop) {
    RunPlan plan;
    plan.segments = segments;
    plan.patterns = patterns;
    plan.rule = rule;
    const RunCount counted = countRun(plan, stop);
    if (counted.fault == RunFault::Overflow) {
        return UINT64_MAX;
    }
    return counted.fault == RunFault::None ? std::optional(counted.numbers) : std::nullopt;
}

}  // namespace haoma::generate
