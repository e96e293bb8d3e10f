// SPDX-License-Identifier: MIT
#pragma once
// What kind of text a segment line is. Every line runs by the same rule (its text, then
// fillers up to 11 bytes); the kinds tell the lines a user most likely did not mean.

#include <string_view>

namespace haoma::generate {

enum class SegmentLineKind {
    Segment,         // 1 to 11 ASCII digits
    Blank,           // nothing: every 11-digit filler
    ByteOrderMark,   // holds U+FEFF (a file joined after its start, a pasted mark)
    CarriageReturn,  // holds a CR: a file with CR-only line ends, read as one line
    TooLong,         // longer than a number (over 11 GBK bytes): no numbers at all
    NotDigits,       // holds other than digits (a name, a letter, a space)
};

// The kind of `line` (without its line end), in the order above: the first that fits.
SegmentLineKind segmentLineKind(std::string_view line);

}  // namespace haoma::generate
