// SPDX-License-Identifier: MIT
#include "lookup/where_lines.h"

#include "lookup/contact_number.h"
#include "text/text.h"

namespace haoma::lookup {
namespace {

constexpr std::size_t kShownBytes = 32;

}  // namespace

WhereLines::WhereLines(const SegmentIndex& index, std::string lineEnd)
    : index_(index), lineEnd_(std::move(lineEnd)) {
    for (const auto& facts : index.facts()) {
        answers_.push_back("\t" + facts.province + "\t" + facts.city + "\t" + facts.corp + "\t" +
                           facts.areaCode + lineEnd_);
    }
}

void WhereLines::appendRow(WhereRow row, std::uint32_t facts, std::string& out,
                           std::vector<WhereRow>& rows) const {
    out.append(row.number);
    if (row.verdict == NumberVerdict::Found) {
        out.append("\t").append(row.number.substr(0, 7)).append(answers_[facts]);
    } else {
        out.append("\t\t\t\t\t").append(lineEnd_);
    }
    rows.push_back(std::move(row));
}

void WhereLines::appendLine(std::string_view line, std::string& out,
                            std::vector<WhereRow>& rows) const {
    const auto numbers = numbersInLine(line);
    if (numbers.empty()) {
        appendRow({NumberVerdict::Empty, ""}, 0, out, rows);
        return;
    }
    for (const auto& given : numbers) {
        const auto number = readContactNumber(given);
        WhereRow row{NumberVerdict::Malformed, ""};
        row.number = text::printable(number.digits, &row.replaced);
        std::uint32_t facts = 0;
        if (number.codeOnly) {
            row.verdict = NumberVerdict::CodeOnly;
        } else if (number.foreign) {
            row.verdict = NumberVerdict::Foreign;
        } else {
            const auto found = index_.find(row.number);
            row.verdict = found.verdict;
            facts = found.facts;
        }
        appendRow(std::move(row), facts, out, rows);
    }
}

void WhereLines::appendText(std::string_view text, std::string& out,
                            std::vector<WhereRow>& rows) const {
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    for (const auto line : text::lines(text)) {
        appendLine(line, out, rows);
    }
}

void WhereLines::appendTooLong(std::string_view start, std::string& out,
                               std::vector<WhereRow>& rows) const {
    std::size_t end = std::min(start.size(), kShownBytes);
    while (end > 0 && !text::isCharBoundary(start, end)) {
        --end;
    }
    WhereRow row{NumberVerdict::TooLong, ""};
    row.number = text::printable(start.substr(0, end), &row.replaced) + "…";
    appendRow(std::move(row), 0, out, rows);
}

}  // namespace haoma::lookup
