// SPDX-License-Identifier: MIT
#include "generate/match_run.h"

#include <algorithm>
#include <limits>
#include <map>
#include <unordered_set>

#include "text/text.h"

namespace haoma::generate {
namespace {

constexpr int kNumberLength = 11;

std::uint64_t saturatingAdd(std::uint64_t a, std::uint64_t b) {
    return b > std::numeric_limits<std::uint64_t>::max() - a
               ? std::numeric_limits<std::uint64_t>::max()
               : a + b;
}

// What decides a segment's count: its filler width and the cells the patterns reach.
std::string countKey(std::string_view segment, std::size_t reach) {
    const int length = text::gbkLength(segment);
    if (length > kNumberLength) {
        return "-";
    }
    const auto width = static_cast<std::size_t>(kNumberLength - length);
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

std::uint64_t segmentCount(std::string_view segment, const std::vector<DigitPattern>& patterns,
                           const TailRule& rule) {
    if (patterns.size() <= 1 && rule.contains.empty()) {
        SegmentMatches matches(segment, patterns.empty() ? nullptr : &patterns.front(),
                               rule.allowed);
        return matches.count();
    }
    std::uint64_t count = 0;
    for (MergedMatches merged(segment, patterns, rule.allowed); merged.valid(); merged.advance()) {
        const auto& current = merged.current();
        if (rule.accepts({current.filler(), static_cast<std::size_t>(current.fillerWidth())})) {
            ++count;
        }
    }
    return count;
}

}  // namespace

MergedMatches::MergedMatches(std::string_view segment, const std::vector<DigitPattern>& patterns,
                             DigitSet allowed) {
    matches_.reserve(std::max<std::size_t>(patterns.size(), 1));
    if (patterns.empty()) {
        matches_.emplace_back(segment, nullptr, allowed);
    }
    for (const auto& pattern : patterns) {
        matches_.emplace_back(segment, &pattern, allowed);
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

bool TailRule::accepts(std::string_view digits) const {
    return std::all_of(contains.begin(), contains.end(), [&](const std::string& wanted) {
        return digits.find(wanted) != std::string_view::npos;
    });
}

DigitSet digitsWithout(std::string_view without) {
    DigitSet digits = kAnyDigit;
    for (const char c : without) {
        if (c >= '0' && c <= '9') {
            digits = static_cast<DigitSet>(digits & ~(1U << (c - '0')));
        }
    }
    return digits;
}

MatchRun::MatchRun(std::vector<std::string> segments, std::vector<DigitPattern> patterns,
                   TailRule rule, std::string_view lineEnd)
    : segments_(std::move(segments)),
      patterns_(std::move(patterns)),
      rule_(std::move(rule)),
      lineEnd_(lineEnd) {}

bool MatchRun::enterSegment() {
    while (segment_ < segments_.size()) {
        merged_.emplace(segments_[segment_], patterns_, rule_.allowed);
        if (merged_->valid()) {
            line_ = segments_[segment_];
            return true;
        }
        ++segment_;
    }
    merged_.reset();
    return false;
}

std::size_t MatchRun::next(std::uint64_t limit, std::size_t maxNumbers, std::string& out) {
    limit_ = limit;
    std::size_t produced = 0;
    while (produced < maxNumbers && count_ < limit_) {
        if (!merged_ && !enterSegment()) {
            break;
        }
        if (!merged_->valid()) {
            merged_.reset();
            ++segment_;
            continue;
        }
        const auto& current = merged_->current();
        const std::string_view filler(current.filler(),
                                      static_cast<std::size_t>(current.fillerWidth()));
        if (rule_.accepts(filler)) {
            out.append(line_).append(filler).append(lineEnd_);
            ++produced;
            ++count_;
        }
        merged_->advance();
    }
    return produced;
}

std::uint64_t countMatches(const std::vector<std::string>& segments,
                           const std::vector<DigitPattern>& patterns, const TailRule& rule) {
    std::size_t reach = 0;
    for (const auto& pattern : patterns) {
        reach = std::max(reach, pattern.positions.size());
    }
    std::map<std::string, std::uint64_t> known;
    std::uint64_t total = 0;
    for (const auto& segment : segments) {
        const std::string key = countKey(segment, reach);
        auto found = known.find(key);
        if (found == known.end()) {
            found =
                known.emplace(key, key == "-" ? 0 : segmentCount(segment, patterns, rule)).first;
        }
        total = saturatingAdd(total, found->second);
    }
    return total;
}

bool canSample(const std::vector<DigitPattern>& patterns, const TailRule& rule) {
    return patterns.size() <= 1 && rule.contains.empty();
}

std::vector<std::string> sampleMatches(const std::vector<std::string>& segments,
                                       const std::vector<DigitPattern>& patterns,
                                       const TailRule& rule, std::uint64_t wanted,
                                       std::mt19937_64& random) {
    const DigitPattern* pattern = patterns.empty() ? nullptr : &patterns.front();
    std::vector<std::uint64_t> counts;
    counts.reserve(segments.size());
    std::uint64_t total = 0;
    std::map<std::string, std::uint64_t> known;
    const std::size_t reach = pattern != nullptr ? pattern->positions.size() : 0;
    for (const auto& segment : segments) {
        const std::string key = countKey(segment, reach);
        auto found = known.find(key);
        if (found == known.end()) {
            found =
                known.emplace(key, key == "-" ? 0 : segmentCount(segment, patterns, rule)).first;
        }
        counts.push_back(found->second);
        total = saturatingAdd(total, found->second);
    }
    // Distinct ranks, uniformly (Floyd's method: one draw each, memory for `wanted`).
    std::vector<std::uint64_t> ranks;
    if (wanted >= total) {
        ranks.resize(static_cast<std::size_t>(total));
        for (std::uint64_t i = 0; i < total; ++i) {
            ranks[static_cast<std::size_t>(i)] = i;
        }
    } else {
        std::unordered_set<std::uint64_t> chosen;
        chosen.reserve(static_cast<std::size_t>(wanted) * 2);
        for (std::uint64_t j = total - wanted; j < total; ++j) {
            const std::uint64_t pick = std::uniform_int_distribution<std::uint64_t>(0, j)(random);
            chosen.insert(chosen.contains(pick) ? j : pick);
        }
        ranks.assign(chosen.begin(), chosen.end());
        std::sort(ranks.begin(), ranks.end());
    }
    std::vector<std::string> numbers;
    numbers.reserve(ranks.size());
    std::size_t segment = 0;
    std::uint64_t before = 0;  // matches of the segments before `segment`
    std::optional<SegmentMatches> matches;
    for (const std::uint64_t rank : ranks) {
        while (rank >= before + counts[segment]) {
            before += counts[segment];
            ++segment;
            matches.reset();
        }
        if (!matches) {
            matches.emplace(segments[segment], pattern, rule.allowed);
        }
        matches->seek(rank - before);
        numbers.push_back(
            segments[segment] +
            std::string(matches->filler(), static_cast<std::size_t>(matches->fillerWidth())));
    }
    return numbers;
}

}  // namespace haoma::generate
