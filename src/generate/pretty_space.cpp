// SPDX-License-Identifier: MIT
#include "generate/pretty_space.h"

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

// The suffixes a filler ending in `digit` takes, in table order.
std::vector<std::size_t> suffixesAfter(const PatternRow& row, int digit) {
    std::vector<std::size_t> kept;
    for (std::size_t index = 0; index < row.suffixes.size(); ++index) {
        const char skip = row.suffixes[index].skipWhenFillerEndsWith;
        if (skip == '\0' || skip != static_cast<char>('0' + digit)) {
            kept.push_back(index);
        }
    }
    return kept;
}

// A kind's ranks without a rule: fillers go in groups of ten sharing all but their last
// digit; in a group, the last digit ascending and, for each, the suffixes it takes.
struct KindRanks {
    std::array<std::vector<std::size_t>, 10> after;
    std::uint64_t perGroup = 0;
};

const KindRanks& kindRanks(PatternKind kind) {
    static const auto tables = [] {
        std::array<KindRanks, kPatternKindCount> made;
        for (const auto& row : patternTable()) {
            KindRanks& ranks = made[static_cast<std::size_t>(row.kind)];
            for (int digit = 0; digit < 10; ++digit) {
                ranks.after[static_cast<std::size_t>(digit)] = suffixesAfter(row, digit);
                ranks.perGroup += ranks.after[static_cast<std::size_t>(digit)].size();
            }
        }
        return made;
    }();
    return tables[static_cast<std::size_t>(kind)];
}

}  // namespace

std::vector<DigitPattern> kindPatterns(PatternKind kind, bool hasFiller) {
    const PatternRow& row = patternRow(kind);
    std::vector<DigitPattern> patterns;
    for (const Suffix& suffix : row.suffixes) {
        patterns.push_back(suffixPattern(row, suffix, hasFiller));
    }
    return patterns;
}

int kindFillerWidth(PatternKind kind, std::string_view segment) {
    const int length = text::gbkLength(segment);
    const PatternRow& row = patternRow(kind);
    return length > row.segmentLimit ? -1 : row.segmentLimit - length;
}

std::uint64_t kindCount(PatternKind kind, std::string_view segment) {
    const int width = kindFillerWidth(kind, segment);
    if (width < 0) {
        return 0;
    }
    const PatternRow& row = patternRow(kind);
    if (width == 0) {
        return row.suffixes.size();
    }
    std::uint64_t groups = 1;
    for (int at = 1; at < width; ++at) {
        groups *= 10;
    }
    return groups * kindRanks(kind).perGroup;
}

void appendKindNumber(PatternKind kind, std::string_view segment, std::uint64_t rank,
                      std::string& out) {
    const int width = kindFillerWidth(kind, segment);
    const PatternRow& row = patternRow(kind);
    out.append(segment);
    const auto suffixBytes = static_cast<std::size_t>(row.suffixLength);
    if (width == 0) {
        out.append(row.suffixes[static_cast<std::size_t>(rank)].digits.data(), suffixBytes);
        return;
    }
    const auto& [after, perGroup] = kindRanks(kind);
    std::uint64_t group = rank / perGroup;
    std::uint64_t inside = rank % perGroup;
    int last = 0;
    while (inside >= after[static_cast<std::size_t>(last)].size()) {
        inside -= after[static_cast<std::size_t>(last)].size();
        ++last;
    }
    const std::size_t fillerAt = out.size();
    out.append(static_cast<std::size_t>(width), '0');
    out.back() = static_cast<char>('0' + last);
    for (std::size_t at = out.size() - 1; at-- > fillerAt && group > 0; group /= 10) {
        out[at] = static_cast<char>('0' + group % 10);
    }
    out.append(row.suffixes[after[static_cast<std::size_t>(last)][inside]].digits.data(),
               suffixBytes);
}

NumberSpace* PrettySpaces::at(PatternKind kind, std::string_view segment) {
    const int width = kindFillerWidth(kind, segment);
    if (width < 0) {
        return nullptr;
    }
    auto& space = spaces_[{static_cast<int>(kind), width > 0}];
    if (!space) {
        space = std::make_unique<NumberSpace>(kindPatterns(kind, width > 0), rule_, stop_);
    }
    space->reset(segment);
    return space.get();
}

}  // namespace haoma::generate
