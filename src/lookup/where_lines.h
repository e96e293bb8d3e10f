// SPDX-License-Identifier: MIT
#pragma once
// The answer lines of `haoma-cli where` and of the window's 号码归属地, one rule for both:
// number, segment, province, city, carrier and area code, tab-separated.

#include <string>
#include <string_view>
#include <vector>

#include "lookup/segment_index.h"

namespace haoma::lookup {

class WhereLines {
  public:
    // Lines ending in `lineEnd`, from the index (which must outlive this).
    WhereLines(const SegmentIndex& index, std::string lineEnd);

    // Appends the line of one number as given (a contact-list form is brought to its digits
    // first, see contactNumber): six fields, empty after the number when it is not found.
    // The verdict, and in `number` the number as the line shows it.
    NumberVerdict append(std::string_view given, std::string& out, std::string& number) const;

  private:
    const SegmentIndex& index_;
    std::string lineEnd_;
    std::vector<std::string> answers_;  // the fields after the segment, by place
};

// The numbers of pasted text in any layout: one a line, or separated by commas, semicolons,
// tabs or blanks. Blank-separated words that together still make one number of at most 11
// digits (+86 138 0013 8000) are one number; anything else stands alone.
std::vector<std::string> numbersInText(std::string_view text);

}  // namespace haoma::lookup
