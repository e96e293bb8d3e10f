// SPDX-License-Identifier: MIT
// The pattern parser and enumerator on arbitrary input: "PATTERNS\nSEGMENT\nWITHOUT\nCONTAINS".
// No crash; a pattern list is parsed or refused with a position inside it; the numbers come
// out ascending, each matching one of the patterns (checked here directly from the
// positions) and holding the --contains digits, and as many as the count says up to the
// limit, for short segment lines (wide fillers) too.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "generate/match_run.h"
#include "text/text.h"

namespace {

using haoma::generate::DigitPattern;
using Kind = haoma::generate::PatternPosition::Kind;

bool matches(std::string_view cells, const DigitPattern& pattern) {
    const auto& positions = pattern.positions;
    if (positions.size() > cells.size()) {
        return false;
    }
    const std::size_t first = cells.size() - positions.size();
    std::array<int, 10> letters{};
    letters.fill(-1);
    for (std::size_t i = 0; i < positions.size(); ++i) {
        const char cell = cells[first + i];
        if (cell < '0' || cell > '9') {
            return false;
        }
        const int digit = cell - '0';
        const auto& p = positions[i];
        if (p.kind == Kind::Digits && (p.digits >> digit & 1U) == 0) {
            return false;
        }
        if (p.kind == Kind::Letter) {
            int& value = letters[p.letter];
            for (std::size_t other = 0; other < letters.size(); ++other) {
                if (other != p.letter && letters[other] == digit) {
                    return false;
                }
            }
            if (value >= 0 && value != digit) {
                return false;
            }
            value = digit;
        }
        if (p.kind == Kind::Up || p.kind == Kind::Down) {
            const char before = cells[first + i - 1];
            const int step = p.kind == Kind::Up ? 1 : -1;
            if (before < '0' || before > '9' || digit != before - '0' + step) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const auto parts = haoma::text::split(input, "\n");
    const std::string list = parts.empty() ? "" : parts[0];
    const auto parsed = haoma::generate::parsePatterns(list);
    if (parsed.error) {
        if (parsed.error->position > list.size() || !parsed.patterns.empty()) {
            std::abort();
        }
        return 0;
    }
    const std::string segment = parts.size() > 1 ? parts[1].substr(0, 16) : "1380013";
    const std::string without = parts.size() > 2 ? parts[2] : "";
    std::vector<std::string> contains;
    if (parts.size() > 3 && !parts[3].empty()) {
        contains.push_back(parts[3].substr(0, 4));
    }
    // Only ASCII digit segments are checked cell by cell; others must simply not crash.
    const bool ascii = segment.find_first_not_of("0123456789") == std::string::npos;
    const haoma::generate::TailRule rule{haoma::generate::digitsWithout(without), contains};
    haoma::generate::MatchRun run({segment}, parsed.patterns, rule, "\n");
    std::string out;
    constexpr std::uint64_t kLimit = 400;
    while (!run.finished()) {
        run.next(kLimit, 1024, out);
    }
    std::string previous;
    std::uint64_t lines = 0;
    for (const auto& number : haoma::text::splitViews(out, "\n")) {
        if (number.empty()) {
            continue;
        }
        ++lines;
        if (!previous.empty() && !(previous < number)) {
            std::abort();
        }
        previous = std::string(number);
        if (!ascii) {
            continue;
        }
        if (number.size() != 11 || !number.starts_with(segment)) {
            std::abort();
        }
        bool any = false;
        for (const auto& pattern : parsed.patterns) {
            any = any || matches(number, pattern);
        }
        const std::string_view tail = number.substr(segment.size());
        for (const char c : tail) {
            any = any && (rule.allowed >> (c - '0') & 1U) != 0;
        }
        any = any && rule.accepts(tail);
        if (!any) {
            std::abort();
        }
    }
    const auto count = haoma::generate::countMatches({segment}, parsed.patterns, rule);
    if (!count || std::min(*count, kLimit) != lines) {
        std::abort();
    }
    return 0;
}
