// SPDX-License-Identifier: MIT
#include "generate/number_walk.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "text/text.h"

namespace haoma::generate {

namespace {

std::uint64_t power10(int exponent) {
    std::uint64_t value = 1;
    for (int i = 0; i < exponent; ++i) {
        value *= 10;
    }
    return value;
}

// Numbers of one segment: every filler with every suffix, less the skipped candidates (a
// skip needs the filler's last digit, so one filler in ten for each suffix that has one).
std::uint64_t numbersOfSegment(const std::string& segment, int limit,
                               std::span<const Suffix> suffixes) {
    const int length = text::gbkLength(segment);
    if (length > limit) {
        return 0;
    }
    const int width = limit - length;
    const std::uint64_t fillers = power10(width);
    if (suffixes.empty()) {
        return fillers;
    }
    std::uint64_t count = 0;
    for (const Suffix& suffix : suffixes) {
        const bool skips = suffix.skipWhenFillerEndsWith != '\0' && width > 0;
        count += skips ? fillers - fillers / 10 : fillers;
    }
    return count;
}

}  // namespace

std::uint64_t countAllNumbers(std::span<const std::string> segments) {
    std::uint64_t total = 0;
    for (const auto& segment : segments) {
        total = saturatingAdd(total, numbersOfSegment(segment, kNumberLength, {}));
    }
    return total;
}

std::uint64_t countPatternNumbers(std::span<const std::string> segments, PatternKind kind) {
    const PatternRow& row = patternRow(kind);
    std::uint64_t total = 0;
    for (const auto& segment : segments) {
        total = saturatingAdd(total, numbersOfSegment(segment, row.segmentLimit, row.suffixes));
    }
    return total;
}

NumberWalk::NumberWalk(std::span<const std::string> segments, int segmentLimit,
                       std::span<const Suffix> suffixes, int suffixLength, std::string_view lineEnd)
    : segments_(segments),
      segmentLimit_(segmentLimit),
      suffixes_(suffixes),
      suffixLength_(suffixLength),
      lineEnd_(lineEnd) {}

NumberWalk NumberWalk::allNumbers(std::span<const std::string> segments, std::string_view lineEnd) {
    return {segments, kNumberLength, {}, 0, lineEnd};
}

NumberWalk NumberWalk::pattern(std::span<const std::string> segments, PatternKind kind,
                               std::string_view lineEnd) {
    const PatternRow& row = patternRow(kind);
    return {segments, row.segmentLimit, row.suffixes, row.suffixLength, lineEnd};
}

// Prepares the line template of the current segment, or passes over it when it is too long.
bool NumberWalk::enterSegment() {
    const std::string& segment = segments_[segment_];
    const int length = text::gbkLength(segment);
    if (length > segmentLimit_) {
        ++segment_;
        return false;
    }
    const auto width = static_cast<std::size_t>(segmentLimit_ - length);
    line_.assign(segment);
    fillerStart_ = line_.size();
    line_.append(width, '0');
    suffixStart_ = line_.size();
    line_.append(static_cast<std::size_t>(suffixLength_), '0');
    line_.append(lineEnd_);
    fillerWidth_ = static_cast<int>(width);
    suffix_ = 0;
    entered_ = true;
    return true;
}

void NumberWalk::leaveSegment() {
    entered_ = false;
    ++segment_;
}

std::size_t NumberWalk::produce(std::size_t maxNumbers, std::string& out) {
    std::size_t count = 0;
    while (count < maxNumbers && !finished()) {
        if (!entered_ && !enterSegment()) {
            continue;
        }
        count += suffixes_.empty() ? produceAllNumbers(maxNumbers - count, out)
                                   : producePattern(maxNumbers - count, out);
    }
    return count;
}

// Numbers of the current segment without suffix. Whole groups of ten (fillers that differ
// only in the last digit) are written in one go; that is the hot loop of big lists.
std::size_t NumberWalk::produceAllNumbers(std::size_t maxNumbers, std::string& out) {
    const std::size_t lineLength = line_.size();
    FillerOdometer filler = this->filler();
    const int width = filler.width();
    std::size_t count = 0;
    if (width == 0) {
        out.append(line_);
        leaveSegment();
        return 1;
    }
    // Whole groups of up to 10,000 fillers (the last digits running through all values):
    // one block, laid out once, whose leading bytes are the segment and the filler's first
    // digits.
    const int blockDigits = std::min(width, 4);
    const std::size_t blockLines = static_cast<std::size_t>(power10(blockDigits));
    const std::size_t prefixLength = fillerStart_ + static_cast<std::size_t>(width - blockDigits);
    const std::array<DigitSet, 4> sets = {kAnyDigit, kAnyDigit, kAnyDigit, kAnyDigit};
    const std::span<const DigitSet> tails(sets.data(), static_cast<std::size_t>(blockDigits));
    while (maxNumbers - count >= blockLines && filler.zerosAtEnd(blockDigits)) {
        if (!block_.laidOut(prefixLength, tails, lineEnd_)) {
            block_.layout(prefixLength, tails, lineEnd_);
        }
        out.append(block_.with({line_.data(), prefixLength}));
        count += blockLines;
        if (!filler.advanceGroup(blockDigits)) {
            leaveSegment();
            return count;
        }
    }
    char* const last = line_.data() + fillerStart_ + width - 1;
    while (count < maxNumbers) {
        if (*last == '0' && maxNumbers - count >= 10) {
            const std::size_t start = out.size();
            out.resize(start + 10 * lineLength);
            char* destination = out.data() + start;
            const std::size_t lastOffset = static_cast<std::size_t>(last - line_.data());
            for (char digit = '0'; digit <= '9'; ++digit) {
                std::memcpy(destination, line_.data(), lineLength);
                destination[lastOffset] = digit;
                destination += lineLength;
            }
            count += 10;
            if (!filler.advanceGroupOfTen()) {
                leaveSegment();
                return count;
            }
            continue;
        }
        out.append(line_);
        ++count;
        if (!filler.advance()) {
            leaveSegment();
            return count;
        }
    }
    return count;
}

// Numbers of the current segment for a pattern kind, candidate by candidate. The walk
// never rests on a skipped candidate, so it stands inside a segment only while numbers of
// that segment are still to come.
std::size_t NumberWalk::producePattern(std::size_t maxNumbers, std::string& out) {
    std::size_t count = 0;
    FillerOdometer filler = this->filler();
    char* const suffixDigits = line_.data() + suffixStart_;
    const auto suffixBytes = static_cast<std::size_t>(suffixLength_);
    while (true) {
        const Suffix& suffix = suffixes_[suffix_];
        if (suffix.skipWhenFillerEndsWith == '\0' ||
            filler.lastDigit() != suffix.skipWhenFillerEndsWith) {
            if (count == maxNumbers) {
                return count;
            }
            std::memcpy(suffixDigits, suffix.digits.data(), suffixBytes);
            out.append(line_);
            ++count;
        }
        if (++suffix_ == suffixes_.size()) {
            suffix_ = 0;
            if (!filler.advance()) {
                leaveSegment();
                return count;
            }
        }
    }
}

}  // namespace haoma::generate
