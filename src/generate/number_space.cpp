// SPDX-License-Identifier: MIT
#include "generate/number_space.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "generate/filler.h"
#include "generate/pattern_match.h"

namespace haoma::generate {
namespace {

constexpr std::uint64_t kStopAskEvery = 4096;  // new states between two stop requests
constexpr char kDead = '\xFE';
constexpr char kUnused = '\x0F';

template <class T>
void appendRaw(std::string& to, const T& value) {
    to.append(reinterpret_cast<const char*>(&value), sizeof value);
}

}  // namespace

NumberSpace::NumberSpace(const std::vector<DigitPattern>& patterns, const TailRule& rule,
                         StopRequest stop, std::size_t maxStates)
    : patterns_(patterns),
      allowed_(rule.allowed),
      wholeNumber_(rule.wholeNumber),
      stop_(std::move(stop)),
      maxStates_(maxStates),
      automaton_(rule.contains, rule.allowed) {
    nodes_.push_back({{}, 0});  // kDeadNode
    nodes_.push_back({{}, 1});  // kAcceptNode
}

bool NumberSpace::place(const DigitPattern& pattern, const std::string& cells,
                        Placed& placed) const {
    using Kind = PatternPosition::Kind;
    const int length = static_cast<int>(pattern.positions.size());
    const int first = kNumberLength - length;
    const int segmentCells = static_cast<int>(cells.size());
    std::array<bool, 10> seen{};
    placed.letters.fill(-1);
    int i = 0;
    // The positions over the segment: its own digits must match them.
    for (; i < length && first + i < segmentCells; ++i) {
        const PatternPosition& position = pattern.positions[static_cast<std::size_t>(i)];
        const int cell = first + i;
        const int digit = cellDigit(cells[static_cast<std::size_t>(cell)]);
        const int previous = cell > 0 ? cellDigit(cells[static_cast<std::size_t>(cell - 1)]) : -1;
        bool ok = digit >= 0;
        switch (position.kind) {
            case Kind::Digits:
                ok = ok && holds(position.digits, digit);
                break;
            case Kind::Letter: {
                std::int8_t& value = placed.letters[position.letter];
                for (std::size_t other = 0; other < placed.letters.size(); ++other) {
                    ok = ok && (other == position.letter || placed.letters[other] != digit ||
                                value == digit);
                }
                ok = ok && (value < 0 || value == digit);
                value = static_cast<std::int8_t>(digit);
                seen[position.letter] = true;
                break;
            }
            case Kind::Up:
                ok = ok && previous >= 0 && digit == previous + 1;
                break;
            case Kind::Down:
                ok = ok && previous >= 0 && digit == previous - 1;
                break;
        }
        if (!ok) {
            return false;
        }
    }
    placed.levels.assign(static_cast<std::size_t>(width_), Level{});
    for (; i < length; ++i) {
        const PatternPosition& position = pattern.positions[static_cast<std::size_t>(i)];
        Level& level = placed.levels[static_cast<std::size_t>(first + i - segmentCells)];
        level.kind = position.kind;
        level.digits = position.digits;
        if (position.kind == Kind::Letter) {
            level.letter = position.letter;
            level.bindsLetter = !seen[position.letter];
            seen[position.letter] = true;
        }
    }
    placed.lettersFrom.assign(static_cast<std::size_t>(width_) + 1, 0);
    placed.bindsFrom.assign(static_cast<std::size_t>(width_) + 1, false);
    for (std::size_t at = static_cast<std::size_t>(width_); at-- > 0;) {
        const Level& level = placed.levels[at];
        placed.lettersFrom[at] =
            placed.lettersFrom[at + 1] | (level.kind == Kind::Letter ? 1U << level.letter : 0U);
        placed.bindsFrom[at] = placed.bindsFrom[at + 1] || level.bindsLetter;
    }
    return true;
}

void NumberSpace::clearNodes() {
    nodes_.resize(2);
    index_.clear();
    tooComplex_ = false;
}

void NumberSpace::reset(std::string_view segment) {
    const std::string cells = segmentCells(segment);
    valid_ = false;
    root_ = kDeadNode;
    const int width = kNumberLength - static_cast<int>(cells.size());
    if (width < 0) {
        width_ = 0;
        possible_ = false;
        clearNodes();
        placedIndex_.clear();
        return;
    }
    std::vector<std::size_t> placedIndex;
    const bool sameWidth = width == width_;
    width_ = width;
    segmentCells_ = static_cast<int>(cells.size());
    segmentLastDigit_ = cells.empty() ? -1 : cellDigit(cells.back());
    placed_.resize(patterns_.size());
    std::size_t kept = 0;
    for (std::size_t index = 0; index < patterns_.size(); ++index) {
        if (place(patterns_[index], cells, placed_[kept])) {
            placedIndex.push_back(index);
            ++kept;
        }
    }
    placed_.resize(kept);
    lettered_ = std::any_of(placed_.begin(), placed_.end(), [](const Placed& placed) {
        return !placed.lettersFrom.empty() && (placed.lettersFrom[0] != 0 || placed.bindsFrom[0]);
    });
    // Segments of one shape share their states (the keys hold what the segment fixed).
    if (!sameWidth || placedIndex != placedIndex_) {
        clearNodes();
        placedIndex_ = std::move(placedIndex);
    }
    possible_ = automaton_.possible && (patterns_.empty() || kept > 0);
    states_.resize(static_cast<std::size_t>(width_) + 1);
    for (auto& state : states_) {
        state.letters.assign(kept * 10, -1);
        state.alive.assign(kept, 1);
    }
    for (std::size_t p = 0; p < kept; ++p) {
        std::copy(placed_[p].letters.begin(), placed_[p].letters.end(),
                  states_[0].letters.begin() + static_cast<std::ptrdiff_t>(p * 10));
    }
    // With a whole-number rule the search for the contained strings begins in the line:
    // its digits run the automaton, anything else breaks a string off.
    int start = 0;
    std::uint64_t found = automaton_.output[0];
    for (const char c : wholeNumber_ ? segment : std::string_view()) {
        start = c >= '0' && c <= '9' ? automaton_.after(start, c - '0') : 0;
        found |= automaton_.output[static_cast<std::size_t>(start)];
    }
    states_[0].automaton = start;
    states_[0].found = found;
    digit_.assign(static_cast<std::size_t>(width_), -1);
    filler_.assign(static_cast<std::size_t>(width_), '0');
    path_.assign(static_cast<std::size_t>(width_) + 1, kDeadNode);
    root_ = possible_ ? nodeAt(0) : kDeadNode;
    path_[0] = root_;
    valid_ = !stopped_ && !tooComplex_ && nodes_[root_].count > 0;
    if (valid_) {
        descendFirst(0);
    }
}

bool NumberSpace::apply(int level, int digit) {
    using Kind = PatternPosition::Kind;
    if (!holds(allowed_, digit)) {
        return false;
    }
    const auto at = static_cast<std::size_t>(level);
    const State& from = states_[at];
    State& to = states_[at + 1];
    const int previous = level > 0 ? digit_[at - 1] : segmentLastDigit_;
    digit_[at] = digit;
    if (lettered_) {
        to.letters = from.letters;
    }
    bool any = placed_.empty();
    for (std::size_t p = 0; p < placed_.size(); ++p) {
        if (from.alive[p] == 0) {
            to.alive[p] = 0;
            continue;
        }
        const Level& here = placed_[p].levels[at];
        std::int8_t* letters = to.letters.data() + p * 10;
        bool ok = true;
        switch (here.kind) {
            case Kind::Digits:
                ok = holds(here.digits, digit);
                break;
            case Kind::Letter:
                if (!here.bindsLetter) {
                    ok = letters[here.letter] == digit;
                } else {
                    for (int other = 0; other < 10; ++other) {
                        ok = ok && (other == here.letter || letters[other] != digit);
                    }
                    letters[here.letter] = static_cast<std::int8_t>(digit);
                }
                break;
            case Kind::Up:
                ok = previous >= 0 && digit == previous + 1;
                break;
            case Kind::Down:
                ok = previous >= 0 && digit == previous - 1;
                break;
        }
        to.alive[p] = ok ? 1 : 0;
        any = any || ok;
    }
    if (!any) {
        return false;
    }
    to.automaton = automaton_.after(from.automaton, digit);
    to.found = from.found | automaton_.output[static_cast<std::size_t>(to.automaton)];
    return true;
}

bool NumberSpace::accepting(int level) const {
    return states_[static_cast<std::size_t>(level)].found == automaton_.wanted;
}

// What the numbers from `level` on depend on: the digit before it (for + and -), how far
// the --contains strings have got, and per pattern still matching the values of the letters
// that appear again and (while a letter is still to bind) the digits the letters took.
const std::string& NumberSpace::key(int level) {
    using Kind = PatternPosition::Kind;
    const auto at = static_cast<std::size_t>(level);
    const State& state = states_[at];
    key_.clear();
    key_ += static_cast<char>(level);
    bool needsPrevious = false;
    for (std::size_t p = 0; p < placed_.size(); ++p) {
        const Kind kind = placed_[p].levels[at].kind;
        needsPrevious =
            needsPrevious || (state.alive[p] != 0 && (kind == Kind::Up || kind == Kind::Down));
    }
    const int previous = level > 0 ? digit_[at - 1] : segmentLastDigit_;
    key_ += needsPrevious ? static_cast<char>(previous) : kUnused;
    const bool allFound = state.found == automaton_.wanted;
    appendRaw(key_, allFound ? 0 : state.automaton);
    appendRaw(key_, allFound ? automaton_.wanted : state.found);
    for (std::size_t p = 0; p < placed_.size(); ++p) {
        if (state.alive[p] == 0) {
            key_ += kDead;
            continue;
        }
        const unsigned later = placed_[p].lettersFrom[at];
        if (later == 0 && !placed_[p].bindsFrom[at]) {
            key_ += '\x01';  // no letter ahead: alive is all that counts
            continue;
        }
        std::uint16_t taken = 0;
        for (std::size_t letter = 0; letter < 10; ++letter) {
            const int value = state.letters[p * 10 + letter];
            taken = static_cast<std::uint16_t>(taken | (value >= 0 ? 1U << value : 0U));
            key_ += value >= 0 && (later >> letter & 1U) != 0 ? static_cast<char>(value) : kUnused;
        }
        appendRaw(key_, placed_[p].bindsFrom[at] ? taken : std::uint16_t{0});
    }
    return key_;
}

bool NumberSpace::canComplete(int level) const {
    const State& state = states_[static_cast<std::size_t>(level)];
    const std::uint64_t missing = automaton_.wanted & ~state.found;
    if (missing == 0) {
        return true;
    }
    const int left = width_ - level;
    const std::size_t strings = automaton_.stringLength.size();
    // A string of length L ends at a digit still to write, at most one string of each
    // length at each digit: no more strings of a length than such places.
    const int before = wholeNumber_ ? segmentCells_ : 0;  // digits a string may begin in
    std::array<int, kNumberLength + 2> ofLength{};
    for (std::size_t index = 0; index < strings; ++index) {
        if ((missing >> index & 1U) == 0) {
            continue;
        }
        if (automaton_.need[static_cast<std::size_t>(state.automaton) * strings + index] > left) {
            return false;
        }
        const int length = automaton_.stringLength[index];
        const int firstEnd = std::max(level, length - 1 - before);
        if (++ofLength[static_cast<std::size_t>(std::min(length, kNumberLength + 1))] >
            width_ - firstEnd) {
            return false;
        }
    }
    return true;
}

std::uint32_t NumberSpace::nodeAt(int level) {
    if (stopped_ || tooComplex_) {
        return kDeadNode;
    }
    if (level == width_) {
        return accepting(level) ? kAcceptNode : kDeadNode;
    }
    if (!canComplete(level)) {
        return kDeadNode;
    }
    if (const auto known = index_.find(key(level)); known != index_.end()) {
        return known->second;
    }
    std::string ownKey = key_;
    Node node{};
    node.child.fill(kDeadNode);
    node.count = 0;
    for (int digit = 0; digit < 10; ++digit) {
        if (apply(level, digit)) {
            const std::uint32_t below = nodeAt(level + 1);
            node.child[static_cast<std::size_t>(digit)] = below;
            node.count = saturatingAdd(node.count, nodes_[below].count);
        }
    }
    if (++sinceAsked_ >= kStopAskEvery) {
        sinceAsked_ = 0;
        stopped_ = stop_ && stop_();
    }
    if (index_.size() >= maxStates_) {
        tooComplex_ = true;
    }
    if (stopped_ || tooComplex_) {
        return kDeadNode;
    }
    std::uint32_t id = kDeadNode;
    if (node.count > 0) {
        id = static_cast<std::uint32_t>(nodes_.size());
        nodes_.push_back(node);
    }
    index_.emplace(std::move(ownKey), id);
    return id;
}

void NumberSpace::descendFirst(int level) {
    for (; level < width_; ++level) {
        const Node& node = nodes_[path_[static_cast<std::size_t>(level)]];
        int digit = 0;
        while (nodes_[node.child[static_cast<std::size_t>(digit)]].count == 0) {
            ++digit;
        }
        digit_[static_cast<std::size_t>(level)] = digit;
        filler_[static_cast<std::size_t>(level)] = static_cast<char>('0' + digit);
        path_[static_cast<std::size_t>(level) + 1] = node.child[static_cast<std::size_t>(digit)];
    }
}

void NumberSpace::advance() {
    if (!valid_) {
        return;
    }
    for (int level = width_ - 1; level >= 0; --level) {
        const auto at = static_cast<std::size_t>(level);
        const Node& node = nodes_[path_[at]];
        for (int digit = digit_[at] + 1; digit <= 9; ++digit) {
            const std::uint32_t below = node.child[static_cast<std::size_t>(digit)];
            if (nodes_[below].count > 0) {
                digit_[at] = digit;
                filler_[at] = static_cast<char>('0' + digit);
                path_[at + 1] = below;
                descendFirst(level + 1);
                return;
            }
        }
    }
    valid_ = false;
}

std::uint64_t NumberSpace::count() const {
    return nodes_[root_].count;
}

void NumberSpace::seek(std::uint64_t rank) {
    for (int level = 0; level < width_; ++level) {
        const auto at = static_cast<std::size_t>(level);
        const Node& node = nodes_[path_[at]];
        for (int digit = 0; digit < 10; ++digit) {
            const std::uint32_t below = node.child[static_cast<std::size_t>(digit)];
            const std::uint64_t inside = nodes_[below].count;
            if (rank < inside) {
                digit_[at] = digit;
                filler_[at] = static_cast<char>('0' + digit);
                path_[at + 1] = below;
                break;
            }
            rank -= inside;
        }
    }
    valid_ = possible_ && !stopped_ && !tooComplex_;
}

}  // namespace haoma::generate
