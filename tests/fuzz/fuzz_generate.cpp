// SPDX-License-Identifier: MIT
// The generators on arbitrary segment-box text, kind sets and small caps: they stop at the
// cap and emit only well-formed lines.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "generate/runs.h"
#include "text/text.h"

namespace {

void checkLines(const std::string& out, std::size_t count) {
    std::size_t lines = 0;
    // Segment lines may hold a lone CR or LF; they cannot hold CR LF, the line end used here.
    for (const auto& line : haoma::text::splitViews(out, "\r\n")) {
        if (haoma::text::gbkLength(line) != 11) {
            std::abort();
        }
        ++lines;
    }
    if (lines != count || (!out.empty() && !out.ends_with("\r\n"))) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) {
        return 0;
    }
    const unsigned kinds = data[0] | ((data[1] & 1U) << 8);
    const std::int64_t cap = data[2] % 200;
    const std::string box(reinterpret_cast<const char*>(data + 3), size - 3);
    const auto segments = haoma::generate::segmentList(box);

    haoma::generate::PrettyRun pretty(segments, "\r\n");
    std::string out;
    while (const auto kind = pretty.kindAtTurn()) {
        if ((kinds >> static_cast<unsigned>(*kind)) & 1U) {
            pretty.beginKind();
            while (pretty.kindActive()) {
                pretty.next(cap, 1 + data[2] % 7, out);
            }
        } else {
            pretty.skipKind();
        }
    }
    if (pretty.runCount() > cap) {
        std::abort();
    }
    checkLines(out, static_cast<std::size_t>(pretty.runCount()));

    out.clear();
    haoma::generate::AllNumbersRun all(segments, "\r\n");
    while (!all.finished()) {
        all.next(cap, 1 + data[2] % 5, out);
    }
    if (all.runCount() > std::max<std::int64_t>(cap, 1)) {
        std::abort();
    }
    checkLines(out, static_cast<std::size_t>(all.runCount()));
    return 0;
}
