// SPDX-License-Identifier: MIT
#include "generate/pretty_space.h"

#include <algorithm>
#include <limits>
#include <map>
#include <memory>
#include <tuple>

#include "generate/number_space.h"
#include "generate/sample_ranks.h"
#include "text/text.h"

namespace haoma::generate {
namespace {

PatternPosition fixedDigit(char digit) {
    return {PatternPosition::Kind::Digits, static_cast<std::uint16_t>(1U << (digit - '0')), 0};
}

// The suffix as a pattern over the last digits; with a filler, its last digit must not be
// the one the kind skips.
DigitPattern suffixPattern(const PatternRow& row, const Suffix& suffix, bool hasFiller) {
    DigitPattern pattern;
    if (hasFiller && suffix.skipWhenFillerEndsWith != '\0') {
        const auto skipped = static_cast<unsigned>(suffix.skipWhenFillerEndsWith - '0');
        pattern.positions.push_back({PatternPosition::Kind::Digits,
                                     static_cast<std::uint16_t>(kAnyDigit & ~(1U << skipped)), 0});
    }
    for (int at = 0; at < row.suffixLength; ++at) {
        pattern.positions.push_back(fixedDigit(suffix.digits[static_cast<std::size_t>(at)]));
    }
    return pattern;
}

// The spaces of one kind at one filler width, suffix by suffix, with their counts.
struct KindAtWidth {
    std::vector<std::unique_ptr<NumberSpace>> spaces;
    std::vector<std::uint64_t> counts;
    std::uint64_t total = 0;
};

class PrettySpaces {
  public:
    PrettySpaces(const TailRule& rule, const StopRequest& stop) : rule_(rule), stop_(stop) {}

    // The kind's spaces for segment lines of this one's width; null when the line is too
    // long for the kind, or a stop request cut the count short.
    KindAtWidth* at(PatternKind kind, const std::string& segment, bool& stopped) {
        const PatternRow& row = patternRow(kind);
        const int length = text::gbkLength(segment);
        if (length > row.segmentLimit) {
            return nullptr;
        }
        const int width = row.segmentLimit - length;
        // Strings looked for in the whole number make each line's count its own.
        const bool whole = rule_.wholeNumber && !rule_.contains.empty();
        auto [entry, added] =
            known_.try_emplace({static_cast<int>(kind), width, whole ? segment : std::string()});
        if (added) {
            for (const Suffix& suffix : row.suffixes) {
                auto space = std::make_unique<NumberSpace>(
                    std::vector<DigitPattern>{suffixPattern(row, suffix, width > 0)}, rule_, stop_);
                space->reset(segment);
                const std::uint64_t count = space->count();
                stopped = stopped || space->stopped();
                entry->second.counts.push_back(count);
                entry->second.total = saturatingAdd(entry->second.total, count);
                entry->second.spaces.push_back(std::move(space));
            }
        }
        return stopped ? nullptr : &entry->second;
    }

  private:
    const TailRule& rule_;
    const StopRequest& stop_;
    std::map<std::tuple<int, int, std::string>, KindAtWidth> known_;
};

}  // namespace

std::optional<std::uint64_t> countPrettyNumbers(const std::vector<std::string>& segments,
                                                const WantedKinds& wanted, const TailRule& rule,
                                                const StopRequest& stop) {
    PrettySpaces spaces(rule, stop);
    bool stopped = false;
    std::uint64_t total = 0;
    for (const auto& row : patternTable()) {
        if (!wanted[static_cast<std::size_t>(row.kind)]) {
            continue;
        }
        for (const auto& segment : segments) {
            if (const KindAtWidth* counted = spaces.at(row.kind, segment, stopped)) {
                total = saturatingAdd(total, counted->total);
            }
            if (stopped) {
                return std::nullopt;
            }
        }
    }
    return total;
}

std::optional<std::vector<std::string>> samplePrettyNumbers(
    const std::vector<std::string>& segments, const WantedKinds& wanted, const TailRule& rule,
    std::uint64_t count, std::mt19937_64& random, const StopRequest& stop) {
    const auto total = countPrettyNumbers(segments, wanted, rule, stop);
    if (!total) {
        return std::nullopt;
    }
    const std::vector<std::uint64_t> ranks = distinctRanks(*total, count, random);
    PrettySpaces spaces(rule, stop);
    bool stopped = false;
    std::vector<std::string> numbers;
    numbers.reserve(ranks.size());
    auto rank = ranks.begin();
    std::uint64_t before = 0;  // the run's numbers before the current kind and line
    for (const auto& row : patternTable()) {
        if (!wanted[static_cast<std::size_t>(row.kind)]) {
            continue;
        }
        for (const auto& segment : segments) {
            if (rank == ranks.end()) {
                return numbers;
            }
            KindAtWidth* counted = spaces.at(row.kind, segment, stopped);
            if (stopped) {
                return std::nullopt;
            }
            if (counted == nullptr) {
                continue;
            }
            // Inside the line, suffix by suffix; the line's numbers are then put in the
            // run's order, ascending.
            const std::size_t first = numbers.size();
            for (; rank != ranks.end() && *rank - before < counted->total; ++rank) {
                std::uint64_t inside = *rank - before;
                std::size_t suffix = 0;
                while (inside >= counted->counts[suffix]) {
                    inside -= counted->counts[suffix++];
                }
                NumberSpace& space = *counted->spaces[suffix];
                space.reset(segment);
                space.seek(inside);
                numbers.push_back(segment + std::string(space.filler(), static_cast<std::size_t>(
                                                                            space.fillerWidth())));
            }
            std::sort(numbers.begin() + static_cast<std::ptrdiff_t>(first), numbers.end());
            before += counted->total;
        }
    }
    return numbers;
}

}  // namespace haoma::generate
