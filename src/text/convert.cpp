// SPDX-License-Identifier: MIT
// Conversions between texts and numbers.
#include <charconv>
#include <cmath>
#include <cstdio>

#include "text.h"

namespace haoma::text {
namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view skipSpace(std::string_view s) {
    while (!s.empty() && isSpace(s.front())) {
        s.remove_prefix(1);
    }
    return s;
}

// The rest of a folded text after leading white space and an optional sign.
std::string_view afterSign(std::string_view folded, bool& negative) {
    std::string_view s = skipSpace(folded);
    negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    return s;
}

}  // namespace

std::int32_t toInteger(std::string_view text) {
    const std::string folded = foldHalfWidth(text);
    bool negative = false;
    std::string_view s = afterSign(folded, negative);
    // Unsigned arithmetic gives the two's-complement wraparound without overflow.
    std::uint32_t value = 0;
    while (!s.empty() && isDigit(s.front())) {
        value = value * 10U + static_cast<std::uint32_t>(s.front() - '0');
        s.remove_prefix(1);
    }
    if (negative) {
        value = 0U - value;
    }
    return static_cast<std::int32_t>(value);
}

double toNumber(std::string_view text) {
    const std::string folded = foldHalfWidth(text);
    bool negative = false;
    const std::string_view s = afterSign(folded, negative);
    std::size_t end = 0;
    std::size_t digits = 0;
    while (end < s.size() && isDigit(s[end])) {
        ++end;
        ++digits;
    }
    if (end < s.size() && s[end] == '.') {
        std::size_t fraction = end + 1;
        while (fraction < s.size() && isDigit(s[fraction])) {
            ++fraction;
        }
        digits += fraction - end - 1;
        if (digits > 0) {
            end = fraction;
        }
    }
    if (digits == 0) {
        return 0.0;
    }
    bool exponentNegative = false;
    if (end < s.size() && (s[end] == 'e' || s[end] == 'E')) {
        std::size_t exponent = end + 1;
        if (exponent < s.size() && (s[exponent] == '+' || s[exponent] == '-')) {
            exponentNegative = s[exponent] == '-';
            ++exponent;
        }
        if (exponent < s.size() && isDigit(s[exponent])) {
            while (exponent < s.size() && isDigit(s[exponent])) {
                ++exponent;
            }
            end = exponent;
        }
    }
    double value = 0.0;
    const auto result = std::from_chars(s.data(), s.data() + end, value);
    if (result.ec == std::errc::result_out_of_range) {
        // from_chars leaves the value alone on range errors: underflow reads as 0 and
        // overflow as infinity, as strtod answers.
        value = exponentNegative ? 0.0 : HUGE_VAL;
    }
    return negative ? -value : value;
}

std::int32_t numberToInteger(double value) {
    if (std::isnan(value) || std::isinf(value)) {
        return 0;
    }
    const double truncated = std::trunc(value);
    // Low 32 bits of the integral value: reduce modulo 2^32 in floating point, exactly.
    double reduced = std::fmod(truncated, 4294967296.0);
    if (reduced < 0) {
        reduced += 4294967296.0;
    }
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(reduced));
}

std::string integerToText(std::int64_t value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return {buffer, result.ptr};
}

std::string advanceCounter(std::string_view caption, std::int64_t count) {
    return integerToText(static_cast<std::int64_t>(toInteger(caption)) + count);
}

std::string numberToText(double value) {
    char buffer[64];
    const int n = std::snprintf(buffer, sizeof buffer, "%.13g", value);
    return {buffer, static_cast<std::size_t>(n)};
}

}  // namespace haoma::text
