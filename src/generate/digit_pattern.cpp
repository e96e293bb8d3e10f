// SPDX-License-Identifier: MIT
#include "generate/digit_pattern.h"

#include "text/text.h"

namespace haoma::generate {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::uint16_t bit(int digit) {
    return static_cast<std::uint16_t>(1U << digit);
}

class Parser {
  public:
    explicit Parser(std::string_view list) : list_(list) {}

    ParsedPatterns run() {
        ParsedPatterns parsed;
        std::size_t start = 0;
        while (true) {
            const auto comma = list_.find(',', start);
            const auto end = comma == std::string_view::npos ? list_.size() : comma;
            auto pattern = one(start, end);
            if (!pattern) {
                return {{}, error_};
            }
            parsed.patterns.push_back(std::move(*pattern));
            if (comma == std::string_view::npos) {
                return parsed;
            }
            start = comma + 1;
        }
    }

  private:
    std::optional<DigitPattern> fail(std::size_t at, PatternFault fault, std::string message) {
        error_ =
            PatternError{at, std::move(message), fault, std::string(text::characterAt(list_, at))};
        return std::nullopt;
    }

    std::optional<DigitPattern> one(std::size_t begin, std::size_t end) {
        DigitPattern pattern;
        pattern.text = std::string(list_.substr(begin, end - begin));
        if (begin == end) {
            return fail(begin, PatternFault::Empty, "empty pattern");
        }
        for (std::size_t at = begin; at < end; ++at) {
            const char c = list_[at];
            PatternPosition position;
            if (isDigit(c)) {
                position.digits = bit(c - '0');
            } else if (c == '*') {
                position.digits = kAnyDigit;
            } else if (c >= 'A' && c <= 'J') {
                position.kind = PatternPosition::Kind::Letter;
                position.letter = static_cast<std::uint8_t>(c - 'A');
            } else if (c == '+' || c == '-') {
                if (pattern.positions.empty()) {
                    return fail(at, PatternFault::NothingBefore,
                                std::string("'") + c + "' needs a position before it");
                }
                position.kind = c == '+' ? PatternPosition::Kind::Up : PatternPosition::Kind::Down;
            } else if (c == '[') {
                const auto close = list_.substr(0, end).find(']', at);
                if (close == std::string_view::npos) {
                    return fail(at, PatternFault::UnclosedSet, "'[' without ']'");
                }
                const auto digits = set(at + 1, close);
                if (!digits) {
                    return std::nullopt;
                }
                position.digits = *digits;
                at = close;
            } else if (c >= 'a' && c <= 'j') {
                return fail(at, PatternFault::LowerCaseLetter,
                            std::string("'") + c + "': digit variables are the capitals A to J");
            } else {
                return fail(at, PatternFault::Unexpected,
                            "unexpected '" + std::string(text::characterAt(list_, at)) +
                                "' (digits, *, [set], A-J, + and - make a pattern)");
            }
            pattern.positions.push_back(position);
            if (pattern.positions.size() > kMaxPatternPositions) {
                return fail(at, PatternFault::TooLong, "a pattern has at most 11 positions");
            }
        }
        return pattern;
    }

    void setFault(std::size_t at, PatternFault fault, std::string message) {
        fail(at, fault, std::move(message));
    }

    // The digits of "[...]" between `begin` and the closing bracket at `end`.
    std::optional<std::uint16_t> set(std::size_t begin, std::size_t end) {
        const std::size_t bracket = begin - 1;
        bool negated = false;
        if (begin < end && list_[begin] == '^') {
            negated = true;
            ++begin;
        }
        std::uint16_t digits = 0;
        for (std::size_t at = begin; at < end; ++at) {
            const char c = list_[at];
            if (!isDigit(c)) {
                setFault(at, PatternFault::NotInSet,
                         "'" + std::string(text::characterAt(list_, at)) +
                             "' in a set (digits and ranges only)");
                return std::nullopt;
            }
            int last = c - '0';
            if (at + 1 < end && list_[at + 1] == '-') {
                if (at + 2 >= end || !isDigit(list_[at + 2]) || list_[at + 2] < c) {
                    setFault(at + 1, PatternFault::BadRange,
                             "a range is two digits, the lower first (0-5)");
                    return std::nullopt;
                }
                last = list_[at + 2] - '0';
                at += 2;
            }
            for (int d = c - '0'; d <= last; ++d) {
                digits |= bit(d);
            }
        }
        if (negated) {
            digits = static_cast<std::uint16_t>(~digits & kAnyDigit);
        }
        if (digits == 0) {
            setFault(bracket, PatternFault::EmptySet, "the set allows no digit");
            return std::nullopt;
        }
        return digits;
    }

    std::string_view list_;
    PatternError error_{};
};

}  // namespace

ParsedPatterns parsePatterns(std::string_view list) {
    return Parser(list).run();
}

}  // namespace haoma::generate
