// SPDX-License-Identifier: MIT
#include "generate/pattern_match.h"

#include <bit>
#include <limits>

#include "text/text.h"

namespace haoma::generate {
namespace {

constexpr int kNumberLength = 11;

DigitSet bit(int digit) {
    return static_cast<DigitSet>(1U << digit);
}

// The digits above `digit` (all when it is -1).
DigitSet above(int digit) {
    return digit < 0 ? kAnyDigit : static_cast<DigitSet>(kAnyDigit & ~((2U << digit) - 1));
}

int lowest(DigitSet digits) {
    return std::countr_zero(static_cast<unsigned>(digits));
}

std::uint64_t saturatingMultiply(std::uint64_t a, std::uint64_t b) {
    if (a != 0 && b > std::numeric_limits<std::uint64_t>::max() / a) {
        return std::numeric_limits<std::uint64_t>::max();
    }
    return a * b;
}

}  // namespace

std::string segmentCells(std::string_view segment) {
    std::string cells;
    std::size_t at = 0;
    while (at < segment.size()) {
        std::size_t next = at + 1;
        if (static_cast<unsigned char>(segment[at]) >= 0x80) {
            while (next < segment.size() &&
                   (static_cast<unsigned char>(segment[next]) & 0xC0U) == 0x80U) {
                ++next;
            }
            cells.append(static_cast<std::size_t>(text::gbkLength(segment.substr(at, next - at))),
                         '\x7F');
        } else {
            cells += segment[at];
        }
        at = next;
    }
    return cells;
}

SegmentMatches::SegmentMatches(const DigitPattern* pattern, DigitSet allowed)
    : pattern_(pattern), allowed_(allowed) {}

SegmentMatches::SegmentMatches(std::string_view segment, const DigitPattern* pattern,
                               DigitSet allowed)
    : SegmentMatches(pattern, allowed) {
    reset(segment);
}

void SegmentMatches::reset(std::string_view segment) {
    const DigitPattern* pattern = pattern_;
    const DigitSet allowed = allowed_;
    letterValue_.fill(-1);
    possible_ = true;
    valid_ = false;
    staticLevels_ = true;
    if (!counts_.empty()) {
        counts_.clear();
    }
    const std::string cells = segmentCells(segment);
    width_ = kNumberLength - static_cast<int>(cells.size());
    if (width_ < 0) {
        possible_ = false;
        width_ = 0;
        return;
    }
    segmentLastDigit_ = cells.empty() ? -1 : cellDigit(cells.back());
    const int length = pattern != nullptr ? static_cast<int>(pattern->positions.size()) : 0;
    const int first = kNumberLength - length;
    std::array<bool, 10> seen{};
    // The positions over the segment first: most segments fail here, before any allocation.
    int i = 0;
    for (; i < length && first + i < static_cast<int>(cells.size()) && possible_; ++i) {
        const PatternPosition& position = pattern->positions[static_cast<std::size_t>(i)];
        const int cell = first + i;
        if (cell < static_cast<int>(cells.size())) {
            // A position over the segment: its own digit must match.
            const int digit = cellDigit(cells[static_cast<std::size_t>(cell)]);
            const int previous =
                cell > 0 ? cellDigit(cells[static_cast<std::size_t>(cell - 1)]) : -1;
            switch (position.kind) {
                case PatternPosition::Kind::Digits:
                    possible_ = digit >= 0 && (position.digits & bit(digit)) != 0;
                    break;
                case PatternPosition::Kind::Letter: {
                    int& value = letterValue_[position.letter];
                    bool taken = false;
                    for (std::size_t other = 0; other < letterValue_.size(); ++other) {
                        taken |= other != position.letter && letterValue_[other] == digit;
                    }
                    possible_ = digit >= 0 && (value < 0 ? !taken : value == digit);
                    value = digit;
                    seen[position.letter] = true;
                    break;
                }
                case PatternPosition::Kind::Up:
                    possible_ = digit >= 0 && previous >= 0 && digit == previous + 1;
                    break;
                case PatternPosition::Kind::Down:
                    possible_ = digit >= 0 && previous >= 0 && digit == previous - 1;
                    break;
            }
            continue;
        }
    }
    if (!possible_) {
        return;
    }
    levels_.assign(static_cast<std::size_t>(width_), Level{});
    for (auto& level : levels_) {
        level.digits = allowed;
    }
    for (; i < length; ++i) {
        const PatternPosition& position = pattern->positions[static_cast<std::size_t>(i)];
        Level& level =
            levels_[static_cast<std::size_t>(first + i - static_cast<int>(cells.size()))];
        level.kind = position.kind;
        if (position.kind == PatternPosition::Kind::Digits) {
            level.digits = static_cast<DigitSet>(position.digits & allowed);
        } else if (position.kind == PatternPosition::Kind::Letter) {
            level.letter = position.letter;
            level.bindsLetter = !seen[position.letter];
            seen[position.letter] = true;
        }
    }
    lettersFrom_.assign(levels_.size() + 1, 0);
    for (std::size_t at = levels_.size(); at-- > 0;) {
        lettersFrom_[at] = lettersFrom_[at + 1];
        if (levels_[at].kind == PatternPosition::Kind::Letter) {
            lettersFrom_[at] |= 1U << levels_[at].letter;
        }
    }
    for (std::size_t at = 0; at < levels_.size(); ++at) {
        staticLevels_ &= levels_[at].kind == PatternPosition::Kind::Digits;
        if (at + 1 < levels_.size()) {
            const auto next = levels_[at + 1].kind;
            levels_[at].nextNeedsDigit =
                next == PatternPosition::Kind::Up || next == PatternPosition::Kind::Down;
        }
    }
    if (staticLevels_) {
        suffixProduct_.assign(levels_.size() + 1, 1);
        for (std::size_t at = levels_.size(); at-- > 0;) {
            suffixProduct_[at] = saturatingMultiply(
                suffixProduct_[at + 1], static_cast<std::uint64_t>(digitCount(levels_[at].digits)));
        }
    }
    // Fixed sets at every level: one empty set leaves no number (and no dead end otherwise).
    possible_ = possible_ && (!staticLevels_ || suffixProduct_.front() > 0);
    filler_.assign(static_cast<std::size_t>(width_), '0');
    digit_.assign(static_cast<std::size_t>(width_), -1);
    valid_ = possible_ && step(0);
}

DigitSet SegmentMatches::candidates(int level) const {
    const Level& here = levels_[static_cast<std::size_t>(level)];
    switch (here.kind) {
        case PatternPosition::Kind::Digits:
            return here.digits;
        case PatternPosition::Kind::Letter: {
            if (!here.bindsLetter) {
                const int value = letterValue_[static_cast<std::size_t>(here.letter)];
                return static_cast<DigitSet>(allowed_ & bit(value));
            }
            DigitSet taken = 0;
            for (std::size_t other = 0; other < letterValue_.size(); ++other) {
                const int value = letterValue_[other];
                if (static_cast<int>(other) != here.letter && value >= 0) {
                    taken |= bit(value);
                }
            }
            return static_cast<DigitSet>(allowed_ & ~taken);
        }
        case PatternPosition::Kind::Up:
        case PatternPosition::Kind::Down: {
            const int previous =
                level > 0 ? digit_[static_cast<std::size_t>(level - 1)] : segmentLastDigit_;
            const int wanted = here.kind == PatternPosition::Kind::Up ? previous + 1 : previous - 1;
            return previous < 0 || wanted < 0 || wanted > 9
                       ? 0
                       : static_cast<DigitSet>(allowed_ & bit(wanted));
        }
    }
    return 0;
}

void SegmentMatches::assign(int level, int digit) {
    const auto at = static_cast<std::size_t>(level);
    digit_[at] = digit;
    filler_[at] = static_cast<char>('0' + digit);
    if (levels_[at].bindsLetter) {
        letterValue_[static_cast<std::size_t>(levels_[at].letter)] = digit;
    }
}

void SegmentMatches::unassign(int level) {
    const auto at = static_cast<std::size_t>(level);
    digit_[at] = -1;
    if (levels_[at].bindsLetter) {
        letterValue_[static_cast<std::size_t>(levels_[at].letter)] = -1;
    }
}

bool SegmentMatches::step(int level) {
    while (level >= 0) {
        if (level == width_) {
            return true;
        }
        DigitSet next = static_cast<DigitSet>(candidates(level) &
                                              above(digit_[static_cast<std::size_t>(level)]));
        // Letters, + and - can make a digit a dead end further on: only digits that some
        // match continues from are taken, so the walk costs in proportion to its matches.
        for (; next != 0; next &= static_cast<DigitSet>(next - 1)) {
            assign(level, lowest(next));
            if (staticLevels_ || countFrom(level + 1) > 0) {
                break;
            }
        }
        if (next != 0) {
            ++level;
            continue;
        }
        unassign(level);
        --level;
    }
    return false;
}

DigitSet SegmentMatches::lastDigitRest() const {
    if (!valid_ || width_ == 0) {
        return 0;
    }
    return static_cast<DigitSet>(candidates(width_ - 1) &
                                 above(digit_[static_cast<std::size_t>(width_ - 1)]));
}

void SegmentMatches::setLastDigit(int digit) {
    assign(width_ - 1, digit);
}

void SegmentMatches::advance() {
    valid_ = valid_ && step(width_ - 1);
}

bool SegmentMatches::blockStart(int levels) const {
    for (int level = width_ - levels; level < width_; ++level) {
        if (digit_[static_cast<std::size_t>(level)] != lowest(levelDigits(level))) {
            return false;
        }
    }
    return true;
}

void SegmentMatches::toBlockEnd(int levels) {
    for (int level = width_ - levels; level < width_; ++level) {
        assign(level, 31 - std::countl_zero(static_cast<unsigned>(levelDigits(level))));
    }
}

void SegmentMatches::toBlockLine(int levels, std::size_t line) {
    for (int level = width_ - 1; level >= width_ - levels; --level) {
        DigitSet set = levelDigits(level);
        const auto size = static_cast<std::size_t>(digitCount(set));
        for (std::size_t skip = line % size; skip > 0; --skip) {
            set &= static_cast<DigitSet>(set - 1);
        }
        assign(level, lowest(set));
        line /= size;
    }
}

std::uint64_t SegmentMatches::fillerValue() const {
    std::uint64_t value = 0;
    for (const int digit : digit_) {
        value = value * 10 + static_cast<std::uint64_t>(digit);
    }
    return value;
}

std::uint64_t SegmentMatches::stateKey(int level) const {
    // What the matches from `level` on depend on: the digit before it (for + and -), the
    // digits taken by letters (a new letter differs from them), and the values of the
    // letters that appear again. Letters that do not appear again count only as taken
    // digits, so that states of the same taken set share one count.
    std::uint64_t key = static_cast<std::uint64_t>(level);
    const int previous =
        level == 0 ? segmentLastDigit_ : digit_[static_cast<std::size_t>(level - 1)];
    const bool needsPrevious =
        level > 0 ? levels_[static_cast<std::size_t>(level - 1)].nextNeedsDigit : true;
    key = key << 4 | static_cast<std::uint64_t>(needsPrevious && previous >= 0 ? previous : 15);
    std::uint64_t taken = 0;
    const unsigned later = lettersFrom_[static_cast<std::size_t>(level)];
    for (std::size_t letter = 0; letter < letterValue_.size(); ++letter) {
        const int value = letterValue_[letter];
        if (value >= 0) {
            taken |= 1U << value;
        }
        key = key << 4 |
              static_cast<std::uint64_t>(value >= 0 && (later >> letter & 1U) != 0 ? value : 15);
    }
    return key << 10 | taken;
}

std::uint64_t SegmentMatches::countFrom(int level) {
    if (staticLevels_) {
        return suffixProduct_[static_cast<std::size_t>(level)];
    }
    if (level == width_) {
        return 1;
    }
    const std::uint64_t key = stateKey(level);
    if (const auto known = counts_.find(key); known != counts_.end()) {
        return known->second;
    }
    std::uint64_t total = 0;
    for (DigitSet digits = candidates(level); digits != 0; digits &= digits - 1) {
        assign(level, lowest(digits));
        total += countFrom(level + 1);
        unassign(level);
    }
    counts_.emplace(key, total);
    return total;
}

std::uint64_t SegmentMatches::count() {
    if (!possible_) {
        return 0;
    }
    const auto savedDigits = digit_;
    const auto savedLetters = letterValue_;
    const auto savedFiller = filler_;
    for (int level = width_ - 1; level >= 0; --level) {
        unassign(level);
    }
    const std::uint64_t total = countFrom(0);
    digit_ = savedDigits;
    letterValue_ = savedLetters;
    filler_ = savedFiller;
    return total;
}

void SegmentMatches::seek(std::uint64_t rank) {
    for (int level = width_ - 1; level >= 0; --level) {
        unassign(level);
    }
    for (int level = 0; level < width_; ++level) {
        for (DigitSet digits = candidates(level); digits != 0; digits &= digits - 1) {
            assign(level, lowest(digits));
            const std::uint64_t below = countFrom(level + 1);
            if (rank < below) {
                break;
            }
            rank -= below;
            unassign(level);
        }
    }
    valid_ = possible_;
}

}  // namespace haoma::generate
