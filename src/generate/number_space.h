// SPDX-License-Identifier: MIT
#pragma once
// The numbers of one segment line that match any of a union of digit patterns (every number
// when there is none) and whose digits after the segment pass a tail rule, --contains
// included: counted exactly without visiting them, unranked, and walked in ascending order
// without dead ends. A number is the line followed by filler digits up to 11 GBK bytes.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "generate/digit_pattern.h"
#include "generate/tail_rule.h"

namespace haoma::generate {

class NumberSpace {
  public:
    // For the patterns and the rule (both copied); reset() gives it a segment line. `stop`
    // is asked now and then while counts are computed.
    NumberSpace(const std::vector<DigitPattern>& patterns, const TailRule& rule,
                StopRequest stop = {});
    // Moves to another segment line; the first match, if any, is current.
    void reset(std::string_view segment);

    // How many numbers there are in all (saturating), without visiting them.
    std::uint64_t count();
    // Makes the match with 0-based rank `rank` (below count()) the current one.
    void seek(std::uint64_t rank);

    bool valid() const { return valid_; }
    // Moves to the next match in ascending order; none is skipped, none visited twice.
    void advance();
    // The current match's filler digits ('0'-'9'), fillerWidth() of them.
    const char* filler() const { return filler_.data(); }
    int fillerWidth() const { return width_; }

    // True once a stop request cut a count short: what it gave is not to be trusted.
    bool stopped() const { return stopped_; }

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

    void buildAutomaton(const std::vector<std::string>& contains);
    bool place(const DigitPattern& pattern, const std::string& cells, Placed& placed) const;
    // Fills state level + 1 from state `level` with `digit` there; false on a dead end.
    bool apply(int level, int digit);
    bool accepting(int level) const;
    const std::string& key(int level);
    std::uint64_t countFrom(int level);
    bool step(int level);

    std::vector<DigitPattern> patterns_;
    DigitSet allowed_;
    bool wholeNumber_;
    StopRequest stop_;
    bool containsPossible_ = true;
    std::vector<std::array<int, 10>> next_;  // the --contains automaton
    std::vector<std::uint64_t> output_;      // by automaton state: the strings it completes
    std::uint64_t wanted_ = 0;               // every string found

    std::vector<Placed> placed_;
    std::vector<std::size_t> placedIndex_;  // which patterns the segment allows: with the
                                            // width, what the counts depend on
    std::vector<State> states_;             // by level: before its digit is chosen
    std::vector<int> digit_;                // by level, -1 where unset
    std::string filler_;
    int width_ = 0;
    int segmentLastDigit_ = -1;
    bool possible_ = false;
    bool valid_ = false;
    bool stopped_ = false;
    std::string key_;
    std::unordered_map<std::string, std::uint64_t> counts_;
    std::uint64_t sinceAsked_ = 0;
};

}  // namespace haoma::generate
