// SPDX-License-Identifier: MIT
#include "lookup/where_lines.h"

#include <algorithm>

#include "text/text.h"

namespace haoma::lookup {

WhereLines::WhereLines(const SegmentIndex& index, std::string lineEnd)
    : index_(index), lineEnd_(std::move(lineEnd)) {
    for (const auto& facts : index.facts()) {
        answers_.push_back("\t" + facts.province + "\t" + facts.city + "\t" + facts.corp + "\t" +
                           facts.areaCode + lineEnd_);
    }
}

NumberVerdict WhereLines::append(std::string_view given, std::string& out,
                                 std::string& number) const {
    number = contactNumber(given);
    const auto found = index_.find(number);
    out.append(number);
    if (found.verdict == NumberVerdict::Found) {
        out.append("\t").append(number.substr(0, 7)).append(answers_[found.facts]);
    } else {
        out.append("\t\t\t\t\t").append(lineEnd_);
    }
    return found.verdict;
}

namespace {

// Whether text is, or begins, one number: at most eleven digits once its contact-list form
// is undone.
bool fitsOneNumber(std::string_view text) {
    const std::string digits = contactNumber(text);
    return digits.size() <= 11 &&
           std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

std::vector<std::string> numbersInText(std::string_view text) {
    std::vector<std::string> numbers;
    std::string piece;
    // Blank-separated words join while they still make one number: "0086 189 1234 5678" is
    // one, "13800138000 13900000000" two.
    const auto flush = [&] {
        std::string group;
        for (const auto word : text::splitViews(piece, " ")) {
            const auto trimmed = text::trim(word);
            if (trimmed.empty()) {
                continue;
            }
            const std::string joined = group + " " + std::string(trimmed);
            if (!group.empty() && fitsOneNumber(joined)) {
                group = joined;
                continue;
            }
            if (!group.empty()) {
                numbers.push_back(group);
            }
            group = std::string(trimmed);
        }
        if (!group.empty()) {
            numbers.push_back(group);
        }
        piece.clear();
    };
    for (const char c : text) {
        if (c == '\n' || c == '\r' || c == ',' || c == ';' || c == '\t') {
            flush();
        } else {
            piece += c;
        }
    }
    flush();
    return numbers;
}

}  // namespace haoma::lookup
