// SPDX-License-Identifier: MIT
#pragma once
// Writing a segment store: a new file beside the target, renamed over it when complete,
// so a failed write never leaves a damaged store in its place.

#include <string>
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

using MetaEntries = std::vector<std::pair<std::string, std::string>>;

// Writes the rows (Mobile is the primary key; a later duplicate is an error) and the meta
// entries to `path`. Returns the empty text on success, else what went wrong; on failure
// any file already at `path` is left as it was.
std::string writeStore(const std::string& path, const std::vector<SegmentRow>& rows,
                       const MetaEntries& meta);

}  // namespace haoma::lookup
