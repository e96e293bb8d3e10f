// SPDX-License-Identifier: MIT
#pragma once
// Writing a segment store: a new file beside the target, renamed over it when complete,
// so a failed write never leaves a damaged store in its place.

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace haoma::lookup {

struct SegmentRow {
    std::string mobile;  // seven digits
    std::string province;
    std::string city;
    std::string corp;
    std::string areaCode;  // 0531, 010, ...; empty when unknown
    std::string zip;       // six digits; empty when unknown
};

// The meta entry that marks a store this program wrote (and checksummed).
inline constexpr std::string_view kWriterKey = "writer";
inline constexpr std::string_view kWriterName = "haoma";

using MetaEntries = std::vector<std::pair<std::string, std::string>>;

// Writes the rows (Mobile is the primary key; a later duplicate is an error), the meta
// entries and the writer mark (kWriterKey, which no entry of `meta` replaces) to `path`, through a
// temporary file beside it (stale ones of killed processes are removed first) that is stamped with
// its checksum and renamed over `path` at the end. `cancelled` is asked now and then; when it says
// yes the write is abandoned. Returns the empty text on success, else what went wrong in words; on
// failure or cancellation any file already at `path` is left as it was and no temporary file stays.
std::string writeStore(const std::string& path, const std::vector<SegmentRow>& rows,
                       const MetaEntries& meta, const std::function<bool()>& cancelled = {});

}  // namespace haoma::lookup
