// SPDX-License-Identifier: MIT
#pragma once
// The pattern language of haoma-cli match: a pattern constrains the last L digits of a
// number, one position each:
//   0-9      that digit            *        any digit
//   [68]     one of a set          [0-35]   ranges      [^4]   none of them
//   A-J      digit variables: the same letter is the same digit, different letters are
//            different digits
//   + -      one more / one less than the digit of the position before it (no wrapping)
// Several patterns, comma-separated, are a union.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace haoma::generate {

inline constexpr std::uint16_t kAnyDigit = 0x3FF;
inline constexpr int kMaxPatternPositions = 11;

struct PatternPosition {
    enum class Kind : std::uint8_t { Digits, Letter, Up, Down };
    Kind kind = Kind::Digits;
    std::uint16_t digits = kAnyDigit;  // Digits: bit d set when digit d is allowed
    std::uint8_t letter = 0;           // Letter: A is 0 ... J is 9
};

struct DigitPattern {
    std::string text;
    std::vector<PatternPosition> positions;  // 1 to 11, the last one is the number's last digit
};

// What is wrong with a pattern, for a message in any language.
enum class PatternFault : std::uint8_t {
    Empty,            // nothing between two commas, or no pattern at all
    NothingBefore,    // + or - at the start of a pattern
    UnclosedSet,      // [ without ]
    LowerCaseLetter,  // a to j
    Unexpected,       // a character the language does not have
    TooLong,          // more than 11 positions
    NotInSet,         // a character other than digits and ranges inside [ ]
    BadRange,         // a range not of two digits, the lower first
    EmptySet,         // a set that allows no digit
};

struct PatternError {
    std::size_t position;  // 0-based byte offset in the text parsed
    std::string message;
    PatternFault fault = PatternFault::Unexpected;
    std::string character;  // the character at `position`, whole (UTF-8); empty at the end
};

struct ParsedPatterns {
    std::vector<DigitPattern> patterns;
    std::optional<PatternError> error;
};

// Parses a comma-separated list of patterns. On a syntax error, no patterns and the first
// error with its position in `list`.
ParsedPatterns parsePatterns(std::string_view list);

}  // namespace haoma::generate
