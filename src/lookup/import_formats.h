// SPDX-License-Identifier: MIT
#pragma once
// Reading segment data that users bring: the widely shared phone.dat layout and CSV files
// such as the segment data this program ships or an exported segment table.

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "lookup/store_writer.h"

namespace haoma::lookup {

struct ImportResult {
    std::string error;                    // non-empty: the file as a whole was rejected
    std::string format;                   // "phone.dat" or "csv"
    std::vector<SegmentRow> rows;         // accepted rows, ordered by Mobile
    std::map<std::string, int> rejected;  // harmless rows left out (a repeat), and how many
};

// phone.dat: a 4-byte version, the little-endian int32 offset of the first index entry,
// records "<province>|<city>|<zip>|<area code>\0", then 9-byte index entries: int32
// prefix, int32 record offset, one card-type byte (1 移动 2 联通 3 电信 4 电信虚拟
// 5 联通虚拟 6 移动虚拟 7 广电 8 广电虚拟), strictly ascending by prefix. Any bad entry
// rejects the file, naming the entry; a file cut short is named a damaged phone.dat.
ImportResult readPhoneDat(std::string_view bytes, const std::function<bool()>& stop = {});

// CSV, UTF-8, line ends LF or CR LF, an optional byte-order mark, fields optionally quoted
// with ". A header line names the columns in any order, case-insensitively: Mobile (or
// prefix), City and Corp (or isp) are required; Province, AreaCode and Zip (or PostCode)
// are optional; other columns are ignored. Without a header the columns are Mobile,
// Province, City, Corp. Carrier words and place names are brought into the store's form
// (storeCarrierName, storePlace); a row whose carrier is unknown (未知) takes it from the
// numbering plan. All or nothing: a line with an open quote, a NUL, bytes that are not UTF-8,
// a segment outside 1300000-1999999, no city or carrier, or a segment that another line
// gives another place rejects the file, naming the first such line; a repeat of a line's
// segment with the same place is left out and counted.
ImportResult readSegmentCsv(std::string_view text, const std::function<bool()>& stop = {});

// Tells the two formats apart by their content and reads the file's bytes. Each reader
// asks `stop` every few thousand rows: true ends it with the error "interrupted".
ImportResult readSegmentFile(std::string_view bytes, const std::function<bool()>& stop = {});

// Whether the bytes begin as an SQLite database does.
bool isSqliteFile(std::string_view bytes);

// The rows of another program's segment store (an SQLite file with table mobile, see
// SegmentStore), checked whole with SQLite's integrity check first, as the CSV rows are.
ImportResult readSegmentStore(const std::string& path, const std::function<bool()>& stop = {});

}  // namespace haoma::lookup
