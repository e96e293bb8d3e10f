// SPDX-License-Identifier: MIT
#pragma once
// Phone numbers as people write them in contact lists and pasted text: with blanks, dashes,
// dots and parentheses between the digits (138 0013 8000, (138) 0013-8000), a country code
// (+86, 0086, or 86 before eleven digits; +852 and the like), an extension at the end
// (ext 12, x12, 转12, 分机12, #12).

#include <string>
#include <string_view>
#include <vector>

namespace haoma::lookup {

struct ContactNumber {
    bool number = false;         // written as one phone number
    bool foreign = false;        // with a country code other than 86
    bool codeOnly = false;       // a country code (+86, 0086) and nothing after it
    std::string digits;          // the mainland number's digits (country code and extension off);
                                 // for anything else the text trimmed
    std::size_t digitCount = 0;  // every digit, country code included, extension not
};

// Reads one written number.
ContactNumber readContactNumber(std::string_view text);

// The digits of a mainland number as contact lists hold it; text that is not such a number
// is returned trimmed, unchanged otherwise.
std::string contactNumber(std::string_view text);

// The numbers of one line of pasted text, split where the writer separated them: at commas,
// semicolons and tabs (also full-width ，；), and at blanks between words that do not make one
// number together: "+86 (138) 0013 8000 ext 12" is one, "13800138000 13900000000" two.
std::vector<std::string> numbersInLine(std::string_view line);

}  // namespace haoma::lookup
