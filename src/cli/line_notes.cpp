// SPDX-License-Identifier: MIT
#include "cli/line_notes.h"

#include <array>
#include <cstdio>
#include <string>

namespace haoma::cli {
namespace {

using generate::SegmentLineKind;

struct KindNote {
    SegmentLineKind kind;
    const char* says;  // after "segment line N ('TEXT') "
};

constexpr KindNote kNotes[] = {
    {SegmentLineKind::ByteOrderMark,
     "holds a byte-order mark (U+FEFF), which runs as part of its text"},
    {SegmentLineKind::CarriageReturn,
     "holds a carriage return: CR alone does not end a line (use LF or CR LF)"},
    {SegmentLineKind::NotDigits,
     "is not a number segment; its numbers begin with that text, as the window makes them"},
    {SegmentLineKind::TooLong,
     "is longer than a number (11 bytes, a Chinese character counting 2), so it gives no "
     "numbers"},
};

constexpr std::size_t kShownBytes = 24;

// The line as a note shows it: at most kShownBytes of whole characters, CR and the mark
// spelled out, other control bytes in hex.
std::string shown(std::string_view line) {
    std::string out;
    std::size_t at = 0;
    while (at < line.size() && at < kShownBytes) {
        if (line.substr(at).starts_with("\xEF\xBB\xBF")) {
            out += "<U+FEFF>";
            at += 3;
            continue;
        }
        const auto c = static_cast<unsigned char>(line[at]);
        if (c == '\r') {
            out += "\\r";
        } else if (c < 0x20 || c == 0x7F) {
            std::array<char, 5> hex{};
            std::snprintf(hex.data(), hex.size(), "\\x%02X", c);
            out += hex.data();
        } else {
            // A whole character: its lead byte and the continuation bytes after it.
            std::size_t end = at + 1;
            while (end < line.size() && (static_cast<unsigned char>(line[end]) & 0xC0U) == 0x80U) {
                ++end;
            }
            out.append(line.substr(at, end - at));
            at = end;
            continue;
        }
        ++at;
    }
    if (at < line.size()) {
        out += "...";
    }
    return out;
}

// A name of letters or Chinese characters, which a user may have meant as a city.
bool looksLikeAName(std::string_view line) {
    return line.find_first_of("0123456789 \t,;\r\xEF") == std::string_view::npos &&
           (line.size() > 1 || static_cast<unsigned char>(line[0]) >= 0x80);
}

}  // namespace

void LineNotes::see(std::string_view line, std::size_t number) {
    const auto kind = generate::segmentLineKind(line);
    for (const auto& note : kNotes) {
        if (note.kind != kind || said_[static_cast<std::size_t>(kind)]) {
            continue;
        }
        said_[static_cast<std::size_t>(kind)] = true;
        err_ << "haoma-cli: note: segment line " << number << " ('" << shown(line) << "') "
             << note.says;
        if ((kind == SegmentLineKind::NotDigits || kind == SegmentLineKind::TooLong) &&
            looksLikeAName(line)) {
            err_ << "; for a city use --city " << line;
        }
        err_ << "\n";
    }
}

}  // namespace haoma::cli
