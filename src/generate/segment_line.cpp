// SPDX-License-Identifier: MIT
#include "generate/segment_line.h"

#include <algorithm>

#include "generate/filler.h"
#include "text/text.h"

namespace haoma::generate {

SegmentLineKind segmentLineKind(std::string_view line) {
    if (line.empty()) {
        return SegmentLineKind::Blank;
    }
    if (line.find("\xEF\xBB\xBF") != std::string_view::npos) {
        return SegmentLineKind::ByteOrderMark;
    }
    if (line.find('\r') != std::string_view::npos) {
        return SegmentLineKind::CarriageReturn;
    }
    // Longer than a number by its GBK bytes, whatever it holds: it gives nothing at all.
    if (text::gbkLength(line) > kNumberLength) {
        return SegmentLineKind::TooLong;
    }
    if (!std::all_of(line.begin(), line.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return SegmentLineKind::NotDigits;
    }
    return SegmentLineKind::Segment;
}

}  // namespace haoma::generate
