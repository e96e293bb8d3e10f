// SPDX-License-Identifier: MIT
#pragma once
// The answer lines of `haoma-cli where` and of the window's 号码归属地, one rule for both:
// each input line gives a row for every number in it, or one empty row; every row has six
// tab-separated fields: number, segment, province, city, carrier and area code.

#include <string>
#include <string_view>
#include <vector>

#include "lookup/segment_index.h"

namespace haoma::lookup {

struct WhereRow {
    NumberVerdict verdict;
    std::string number;     // the first field
    bool replaced = false;  // control characters or bytes that are not UTF-8 were replaced
};

class WhereLines {
  public:
    // Lines ending in `lineEnd`, from the index (which must outlive this).
    WhereLines(const SegmentIndex& index, std::string lineEnd);

    // Appends the rows of one input line (without its line end): one for each number in it
    // (see numbersInLine), one empty row when it holds none. The number field is the
    // number's digits when it is a mainland number, else the text as given with control
    // characters and bytes that are not UTF-8 shown as U+FFFD; the other fields are empty
    // when the number is not found. `rows` receives each row's verdict and number.
    void appendLine(std::string_view line, std::string& out, std::vector<WhereRow>& rows) const;

    // Appends the rows of pasted text: a byte-order mark at its start dropped, then each of
    // its lines (see text::lines) as appendLine gives them; `rows` gets every row.
    void appendText(std::string_view text, std::string& out, std::vector<WhereRow>& rows) const;

    // Appends the row of an input line too long to read, shown by its first bytes.
    void appendTooLong(std::string_view start, std::string& out, std::vector<WhereRow>& rows) const;

  private:
    void appendRow(WhereRow row, std::uint32_t facts, std::string& out,
                   std::vector<WhereRow>& rows) const;

    const SegmentIndex& index_;
    std::string lineEnd_;
    std::vector<std::string> answers_;  // the fields after the segment, by place
};

}  // namespace haoma::lookup
