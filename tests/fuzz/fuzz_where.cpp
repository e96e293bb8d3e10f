// SPDX-License-Identifier: MIT
// `where` on arbitrary input: every input line gives at least one row, every row has exactly
// six fields and is UTF-8 without control characters, and the rows of standard input (as
// haoma-cli reads it) are byte for byte those of the same text pasted into the window.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string_view>

#include "cli/line_reader.h"
#include "lookup/segment_index.h"
#include "lookup/segment_store.h"
#include "lookup/store_writer.h"
#include "lookup/where_lines.h"
#include "text/text.h"

namespace {

using namespace haoma;

const lookup::SegmentIndex& index() {
    static const auto made = [] {
        const auto path = std::filesystem::temp_directory_path() / "haoma-fuzz-where.db";
        std::filesystem::remove(path);
        const std::vector<lookup::SegmentRow> rows = {
            {"1380013", "北京", "北京", "中国移动", "010", "100000"},
            {"1390101", "广东", "深圳", "中国移动", "0755", "518000"},
        };
        if (!lookup::writeStore(path.string(), rows, {}).empty()) {
            std::abort();
        }
        auto store = lookup::SegmentStore::open(path.string());
        if (!store) {
            std::abort();
        }
        return std::make_unique<lookup::SegmentIndex>(*store);
    }();
    return *made;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const lookup::WhereLines lines(index(), "\r\n");
    std::string pasted;
    std::vector<lookup::WhereRow> rows;
    lines.appendText(bytes, pasted, rows);

    std::istringstream in{std::string(bytes)};
    cli::LineReader reader(in, cli::LineRules{false, true, true});
    std::string streamed;
    std::string line;
    std::vector<lookup::WhereRow> streamedRows;
    std::size_t inputLines = 0;
    while (reader.next(line)) {
        ++inputLines;
        lines.appendLine(line, streamed, streamedRows);
    }
    if (streamed != pasted || streamedRows.size() < inputLines) {
        std::abort();
    }
    const auto answer = haoma::text::lines(pasted);
    if (answer.size() != rows.size() || !haoma::text::isValidUtf8(pasted)) {
        std::abort();
    }
    for (const auto row : answer) {
        std::size_t tabs = 0;
        for (const char c : row) {
            tabs += c == '\t' ? 1 : 0;
            if (static_cast<unsigned char>(c) < 0x20 && c != '\t') {
                std::abort();
            }
        }
        if (tabs != 5) {
            std::abort();
        }
    }
    return 0;
}
