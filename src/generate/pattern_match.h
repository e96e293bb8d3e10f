// SPDX-License-Identifier: MIT
#pragma once
// The numbers of a segment line that match a digit pattern, visited without trying the
// others: a number is the line followed by filler digits up to 11 GBK bytes, as in the
// all-numbers run, and the pattern constrains its last digits.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "generate/digit_pattern.h"
#include "generate/tail_rule.h"

namespace haoma::generate {

// The segment as GBK cells: an ASCII byte is itself, any other character fills its GBK
// bytes with a cell that is no digit.
std::string segmentCells(std::string_view segment);

// The digit of a cell, or -1.
inline int cellDigit(char cell) {
    return cell >= '0' && cell <= '9' ? cell - '0' : -1;
}

class SegmentMatches {
  public:
    // The matches of `pattern` (every number when it is null) among the numbers of
    // `segment` whose filler digits all lie in `allowed`. A segment longer than 11 GBK
    // bytes has none; pattern positions that reach into the segment must match its own
    // digits (a character that is not a digit matches no position).
    SegmentMatches(std::string_view segment, const DigitPattern* pattern, DigitSet allowed);
    // Without a segment yet: reset() gives it one. The pattern must outlive the object.
    SegmentMatches(const DigitPattern* pattern, DigitSet allowed);
    // Starts over on another segment line, keeping the memory of the last.
    void reset(std::string_view segment);

    // Whether there is a current match; the first one is current after construction.
    bool valid() const { return valid_; }
    // Moves to the next match in ascending order.
    void advance();
    // The current match's filler digits ('0'-'9'), `fillerWidth()` of them.
    const char* filler() const { return filler_.data(); }
    int fillerWidth() const { return width_; }
    // The digits the last position may still take after the current one, the other digits
    // staying as they are: each of them gives the next match, in ascending order.
    DigitSet lastDigitRest() const;
    // Makes the last position take `digit`, one of lastDigitRest().
    void setLastDigit(int digit);
    // The filler as a number, for ordering matches of several patterns.
    std::uint64_t fillerValue() const;

    // Every level a fixed set of digits: the matches are all combinations, and a block of
    // them (the last levels running through their sets) can be written in one go.
    bool staticLevels() const { return staticLevels_ && valid_; }
    DigitSet levelDigits(int level) const {
        return levels_[static_cast<std::size_t>(level)].digits;
    }
    // Whether the last `levels` digits stand at the first of their sets.
    bool blockStart(int levels) const;
    // Makes the last `levels` digits the last of their sets: advance() then passes the block.
    void toBlockEnd(int levels);
    // Makes the last `levels` digits those of the block's line `line` (0-based, in order).
    void toBlockLine(int levels, std::size_t line);

    // How many matches there are in all (saturating), without visiting them.
    std::uint64_t count();
    // Makes the match with 0-based rank `rank` (below count()) the current one.
    void seek(std::uint64_t rank);

  private:
    DigitSet candidates(int level) const;
    void assign(int level, int digit);
    void unassign(int level);
    // Advances from `level` (whose digit may be unset) to the next full match.
    bool step(int level);
    std::uint64_t countFrom(int level);
    std::uint64_t stateKey(int level) const;

    struct Level {
        PatternPosition::Kind kind = PatternPosition::Kind::Digits;
        DigitSet digits = kAnyDigit;  // Digits: the pattern's set, already cut by `allowed`
        int letter = -1;              // Letter: its index
        bool bindsLetter = false;     // the letter's first appearance
        bool nextNeedsDigit = false;  // the next level is + or -
    };

    const DigitPattern* pattern_ = nullptr;
    std::vector<Level> levels_;
    std::string filler_;                 // the current digits, '0'-'9'
    std::vector<int> digit_;             // the current digits, -1 where unset
    std::array<int, 10> letterValue_{};  // -1 where unbound
    int segmentLastDigit_ = -1;          // the segment's last cell when it is a digit
    int width_ = 0;
    DigitSet allowed_ = kAnyDigit;
    bool possible_ = true;  // the segment's own digits can match
    bool valid_ = false;
    bool staticLevels_ = true;  // every level a fixed set: counts are products
    std::vector<std::uint64_t> suffixProduct_;
    std::vector<unsigned> lettersFrom_;  // by level: the letters at that level or later  // with
                                         // static levels: matches from a level on
    std::unordered_map<std::uint64_t, std::uint64_t> counts_;
};

}  // namespace haoma::generate
