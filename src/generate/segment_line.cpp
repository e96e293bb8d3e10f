// SPDX-License-Identifier: MIT
#include "generate/segment_line.h"

#include <algorithm>

#include "generate/filler.h"

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
    if (!std::all_of(line.begin(), line.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return SegmentLineKind::NotDigits;
    }
    return line.size() > static_cast<std::size_t>(kNumberLength) ? SegmentLineKind::TooLong
                                                                 : SegmentLineKind::Segment;
}

}  // namespace haoma::generate
