// SPDX-License-Identifier: MIT
#pragma once
// The numbers of one segment line that match any of a union of digit patterns (every number
// when there is none) and whose digits after the segment pass a tail rule, --contains
// included: counted exactly without visiting them, unranked, and walked in ascending order
// without dead ends. A number is the line followed by filler digits up to 11 GBK bytes.
//
// The numbers form a graph of states, one per level of the filler and per distinct future
// (how far each --contains string has got, what the patterns still need): built once per
// shape of segment line, then walked and unranked by following its edges. States that can no
// longer hold every string still missing in the digits left are never made; the graph is
// bounded, and a rule that needs more states is refused rather than left to grow.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "generate/contains_automaton.h"
#include "generate/digit_pattern.h"
#include "generate/tail_rule.h"

namespace haoma::generate {

// The most states one shape of segment line may take: about 30 MB, built in well under a
// second; a rule that needs more is refused (tooComplex()).
inline constexpr std::size_t kMaxNumberStates = 500'000;

class NumberSpace {
  public:
    // For the patterns and the rule (both copied); reset() gives it a segment line. `stop`
    // is asked now and then while states are made; `maxStates` bounds them.
    NumberSpace(const std::vector<DigitPattern>& patterns, const TailRule& rule,
                StopRequest stop = {}, std::size_t maxStates = kMaxNumberStates);
    // Moves to another segment line; the first match, if any, is current.
    void reset(std::string_view segment);

    // How many numbers there are in all (saturating), without visiting them.
    std::uint64_t count() const;
    // Makes the match with 0-based rank `rank` (below count()) the current one.
    void seek(std::uint64_t rank);

    bool valid() const { return valid_; }
    // Moves to the next match in ascending order; none is skipped, none visited twice.
    void advance();
    // The current match's filler digits ('0'-'9'), fillerWidth() of them.
    const char* filler() const { return filler_.data(); }
    int fillerWidth() const { return width_; }

    // True once a stop request cut the making of states short: what it gave is not to be
    // trusted.
    bool stopped() const { return stopped_; }
    // True when the rule needs more than kMaxNumberStates states on this line's shape.
    bool tooComplex() const { return tooComplex_; }

  private:
    struct Level {
        PatternPosition::Kind kind = PatternPosition::Kind::Digits;
        DigitSet digits = kAnyDigit;
        int letter = -1;
        bool bindsLetter = false;
    };
    // One pattern on the current segment: its filler levels and what the segment fixed.
    struct Placed {
        std::vector<Level> levels;
        std::vector<unsigned> lettersFrom;  // by level: the letters at that level or later
        std::vector<bool> bindsFrom;        // by level: a letter binds at that level or later
        std::array<std::int8_t, 10> letters{};
    };
    // What a partly filled number is: per pattern whether it still matches and its letters,
    // and how far each --contains string has got.
    struct State {
        std::vector<std::int8_t> letters;  // 10 per pattern, -1 where unbound
        std::vector<std::uint8_t> alive;   // per pattern
        int automaton = 0;
        std::uint64_t found = 0;
    };
    // A state of the graph: where each digit leads, and how many numbers lie below it.
    struct Node {
        std::array<std::uint32_t, 10> child;
        std::uint64_t count;
    };
    static constexpr std::uint32_t kDeadNode = 0;    // no number below
    static constexpr std::uint32_t kAcceptNode = 1;  // a whole number that matches

    bool place(const DigitPattern& pattern, const std::string& cells, Placed& placed) const;
    // Fills state level + 1 from state `level` with `digit` there; false on a dead end.
    bool apply(int level, int digit);
    bool accepting(int level) const;
    // Whether the strings still missing can all be written in the digits left.
    bool canComplete(int level) const;
    const std::string& key(int level);
    // The node of the state at `level` (made, with all below it, when new).
    std::uint32_t nodeAt(int level);
    void clearNodes();
    // From the node at `level` on, the smallest match: the path and the digits.
    void descendFirst(int level);

    std::vector<DigitPattern> patterns_;
    DigitSet allowed_;
    bool wholeNumber_;
    StopRequest stop_;
    std::size_t maxStates_;
    ContainsAutomaton automaton_;

    std::vector<Placed> placed_;
    std::vector<std::size_t> placedIndex_;  // which patterns the segment allows: with the
                                            // width, what the states depend on
    std::vector<State> states_;             // by level, while states are made
    std::vector<int> digit_;                // by level: the current match
    std::vector<std::uint32_t> path_;       // by level: the node the current match passes
    std::string filler_;
    int width_ = 0;
    int segmentCells_ = 0;
    int segmentLastDigit_ = -1;
    std::uint32_t root_ = kDeadNode;
    bool possible_ = false;
    bool valid_ = false;
    bool stopped_ = false;
    bool tooComplex_ = false;
    bool lettered_ = false;  // a pattern has letters: states carry their values
    std::string key_;
    std::vector<Node> nodes_;
    std::unordered_map<std::string, std::uint32_t> index_;
    std::uint64_t sinceAsked_ = 0;
};

}  // namespace haoma::generate
