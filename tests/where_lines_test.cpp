// SPDX-License-Identifier: MIT
// Numbers in pasted text: where one ends and what its digits are.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lookup/contact_number.h"
#include "lookup/where_lines.h"
#include "text/text.h"

namespace haoma::lookup {
namespace {

TEST(WhereLines, NumbersOfPastedTextSplitWhereTheWriterSeparatedThem) {
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"13800138000", {"13800138000"}},
        {"13800138000 13900000000", {"13800138000", "13900000000"}},
        {"+86 138 0013 8000", {"+86 138 0013 8000"}},
        {"138-0013-8000,13900000000;\t1390101\r\n", {"138-0013-8000", "13900000000", "1390101"}},
        {"\n\n  \n", {}},
        {"abc def", {"abc", "def"}},
        {"0086 18912345678\n", {"0086 18912345678"}},
        {"138-0013-8000  0086 189 1234 5678 x", {"138-0013-8000", "0086 189 1234 5678", "x"}},
        {"13900000000 138 0013 8000", {"13900000000", "138 0013 8000"}},
        // Never inside one number: parentheses, an extension, a country code abroad.
        {"(138) 0013-8000", {"(138) 0013-8000"}},
        {"+86 (138) 0013 8000", {"+86 (138) 0013 8000"}},
        {"138 0013 8000 ext 12", {"138 0013 8000 ext 12"}},
        {"138 0013 8000 转 12，13900000000", {"138 0013 8000 转 12", "13900000000"}},
        {"+852 9123 4567", {"+852 9123 4567"}},
        {"13800138000 (139) 0000 0000", {"13800138000", "(139) 0000 0000"}},
    };
    for (const auto& [text, numbers] : cases) {
        std::vector<std::string> found;
        for (const auto line : text::lines(text)) {
            const auto inLine = numbersInLine(line);
            found.insert(found.end(), inLine.begin(), inLine.end());
        }
        EXPECT_EQ(found, numbers) << text;
    }
}

TEST(WhereLines, ContactNumbersReadAsTheirDigitsOrAsWhatTheyAre) {
    struct Case {
        const char* given;
        const char* digits;
        bool foreign;
        bool codeOnly;
    };
    const Case cases[] = {
        {"(138) 0013-8000", "13800138000", false, false},
        {"+86 (138) 0013 8000 ext 12", "13800138000", false, false},
        {"138.0013.8000 x12", "13800138000", false, false},
        {"+852 9123 4567", "+852 9123 4567", true, false},
        {"00852 9123 4567", "00852 9123 4567", true, false},
        {"0086", "0086", false, true},
        {"+86", "+86", false, true},
        {"(138 0013 8000", "(138 0013 8000", false, false},
        {"ext 12", "ext 12", false, false},
        {"0755 1234567", "07551234567", false, false},
    };
    for (const auto& c : cases) {
        const auto read = readContactNumber(c.given);
        EXPECT_EQ(read.digits, c.digits) << c.given;
        EXPECT_EQ(read.foreign, c.foreign) << c.given;
        EXPECT_EQ(read.codeOnly, c.codeOnly) << c.given;
    }
}

}  // namespace
}  // namespace haoma::lookup
