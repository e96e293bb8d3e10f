// SPDX-License-Identifier: MIT
#pragma once
// Text primitives on UTF-8 text with the byte-counting rules of the GBK code page.
// Every function here is pure and thread-safe.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace haoma::text {

// Number of bytes the text has in the GBK code page (code page 936): one for each
// ASCII character, two for each other character GBK encodes, one for every character
// GBK cannot encode (it becomes the single replacement byte) and for every byte that
// is not valid UTF-8.
int gbkLength(std::string_view text);

// True when a match may begin at byte `pos`: matches never start inside a character.
bool isCharBoundary(std::string_view text, std::size_t pos);

// Byte offset of the first occurrence of `sought` that begins on a character boundary
// at or after `from`, or npos. An empty `sought` is found at `from`.
std::size_t findBytes(std::string_view text, std::string_view sought, std::size_t from = 0);

// The whole character that begins at byte `pos` (one byte when it is not valid UTF-8), for
// messages that quote it.
std::string_view characterAt(std::string_view text, std::size_t pos);

// The text with every control character (C0, DEL, C1: NUL, TAB, CR among them) and every
// byte that is not valid UTF-8 replaced by U+FFFD, so that it stays one field of one line;
// `replaced` (when given) is set when anything was.
std::string printable(std::string_view text, bool* replaced = nullptr);

// True when every byte belongs to a well-formed UTF-8 character and none is NUL.
bool isValidUtf8(std::string_view text);

// 1-based position (in GBK bytes) of the first occurrence of `sought`, or -1.
// An empty `sought` gives 1 in a non-empty text and -1 in the empty text.
int find(std::string_view text, std::string_view sought);

// True when `sought` occurs in `text` starting on a character boundary.
bool contains(std::string_view text, std::string_view sought);

// Splits at every occurrence of `delimiter`. Empty pieces between delimiters are kept,
// a trailing delimiter adds no empty piece, and the empty text gives no piece.
std::vector<std::string_view> splitViews(std::string_view text, std::string_view delimiter);
std::vector<std::string> split(std::string_view text, std::string_view delimiter);

// The lines of a text as a reader of pasted text sees them: CR LF, LF and a lone CR each
// end a line; a last line without its end counts, a text that ends in a line end has no
// empty line after it.
std::vector<std::string_view> lines(std::string_view text);

// Removes leading and trailing ASCII blanks (U+0020) and ideographic spaces (U+3000);
// tabs, line breaks and every other character stay.
std::string_view trim(std::string_view text);

// ASCII capitals become small letters; every other character is unchanged.
std::string toLowerAscii(std::string_view text);

// Folds the full-width forms that GBK keeps in row 0xA3 (and the ideographic space,
// the wave dash and the two stars of row 0xA1) to their ASCII counterparts.
std::string foldHalfWidth(std::string_view text);

// Leading decimal integer after folding and leading white space, with optional sign,
// accumulated in 32-bit two's complement (more than ten digits wrap). 0 without digits.
std::int32_t toInteger(std::string_view text);

// Longest leading decimal number (sign, digits, fraction, exponent) after folding and
// leading white space; 0 when there is none.
double toNumber(std::string_view text);

// Truncates toward zero and keeps the low 32 bits; NaN gives 0.
std::int32_t numberToInteger(double value);

// Decimal text, "-" for negative values, no leading zeros or blanks.
std::string integerToText(std::int64_t value);

// printf "%.13g".
std::string numberToText(double value);

// A counter kept as the decimal caption of a label, advanced by `count`: the caption read
// as an integer, the count added, the sum written back as decimal text.
std::string advanceCounter(std::string_view caption, std::int64_t count);

// Lexicographic comparison of the texts' GBK bytes: negative, zero or positive.
int compare(std::string_view a, std::string_view b);

}  // namespace haoma::text
