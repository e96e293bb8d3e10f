// SPDX-License-Identifier: MIT
#include "lookup/import_formats.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

#include "lookup/carrier_names.h"
#include "lookup/numbering_plan.h"
#include "lookup/place_names.h"
#include "lookup/segment_store.h"
#include "text/text.h"

namespace haoma::lookup {
namespace {

constexpr std::size_t kRowsBetweenStops = 4096;

constexpr std::size_t kHeaderBytes = 8;
constexpr std::size_t kIndexEntryBytes = 9;

std::uint32_t readLe32(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    }
    return value;
}

bool isDigits(std::string_view s) {
    return !s.empty() &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

constexpr std::array<std::string_view, 9> kCardTypes = {"",
                                                        "中国移动",
                                                        "中国联通",
                                                        "中国电信",
                                                        "中国电信(虚拟运营商)",
                                                        "中国联通(虚拟运营商)",
                                                        "中国移动(虚拟运营商)",
                                                        "中国广电",
                                                        "中国广电(虚拟运营商)"};

// No real place name, zip or area code comes near these: a longer field is a damaged or
// hostile file, which would otherwise fill the store (a record shared by every entry).
constexpr std::size_t kMaxNameBytes = 64;
constexpr std::size_t kMaxCodeBytes = 16;

// Why a row's fields are too long to be real, or the empty text.
std::string overlongField(const SegmentRow& row) {
    const std::pair<const std::string*, std::size_t> limits[] = {
        {&row.province, kMaxNameBytes}, {&row.city, kMaxNameBytes}, {&row.corp, kMaxNameBytes},
        {&row.areaCode, kMaxCodeBytes}, {&row.zip, kMaxCodeBytes},  {&row.mobile, kMaxCodeBytes}};
    for (const auto& [field, limit] : limits) {
        if (field->size() > limit) {
            return "a field of " + std::to_string(field->size()) + " bytes (at most " +
                   std::to_string(limit) + ")";
        }
    }
    return "";
}

// Real segments are seven digits from 130 0000 on: anything else is a damaged or foreign file.
bool isSegment(std::string_view text) {
    return text.size() == 7 && isDigits(text) && text >= "1300000" && text[0] == '1';
}

// Brings a row into the store's form: place names, carrier, a zip code that lost its
// leading zero. The empty text, or why the row cannot be kept.
std::string normalizeRow(SegmentRow& row) {
    row.mobile = std::string(text::trim(row.mobile));
    if (!isSegment(row.mobile)) {
        return "segment '" + row.mobile + "' is not seven digits from 1300000 to 1999999";
    }
    auto place = storePlace(row.province, row.city);
    row.province = std::move(place.province);
    row.city = std::move(place.city);
    if (const auto corp = storeCarrierName(row.corp)) {
        row.corp = std::string(*corp);
    } else if (const auto planned = carrierOfSegment(row.mobile)) {
        row.corp = std::string(*planned);
    } else {
        row.corp.clear();
    }
    if (row.city.empty()) {
        return "segment " + row.mobile + " has no city";
    }
    if (row.corp.empty()) {
        return "segment " + row.mobile + " has no carrier that the numbering plan confirms";
    }
    row.areaCode = std::string(text::trim(row.areaCode));
    row.zip = std::string(text::trim(row.zip));
    if (row.zip.size() == 5 && isDigits(row.zip)) {
        row.zip.insert(0, "0");
    }
    return "";
}

bool samePlace(const SegmentRow& a, const SegmentRow& b) {
    return a.province == b.province && a.city == b.city && a.corp == b.corp &&
           a.areaCode == b.areaCode && a.zip == b.zip;
}

// Orders the rows by Mobile and keeps the first of each segment: a repeat with the same
// place is counted as skipped, one with another place rejects the file, named by
// `where(index of the row)`.
void finish(ImportResult& result, const std::function<std::string(std::size_t)>& where) {
    // Ordered by the segment as a number (all are seven digits), a stable sort of keys
    // and places instead of rows: a few milliseconds where moving the rows took most of a
    // second.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> order;
    order.reserve(result.rows.size());
    for (std::size_t at = 0; at < result.rows.size(); ++at) {
        order.emplace_back(static_cast<std::uint32_t>(std::stoul(result.rows[at].mobile)),
                           static_cast<std::uint32_t>(at));
    }
    std::sort(order.begin(), order.end());
    std::vector<SegmentRow> sorted;
    sorted.reserve(result.rows.size());
    int repeats = 0;
    for (std::size_t i = 0; i < order.size(); ++i) {
        auto& row = result.rows[order[i].second];
        if (!sorted.empty() && order[i - 1].first == order[i].first) {
            // order[first] of this segment is the earliest row, and sorted.back() holds it.
            if (!samePlace(sorted.back(), row)) {
                std::size_t first = i - 1;
                while (first > 0 && order[first - 1].first == order[i].first) {
                    --first;
                }
                result.error = where(order[i].second) + ": segment " + row.mobile + " is also at " +
                               where(order[first].second) + " with another place";
                result.rows.clear();
                return;
            }
            ++repeats;
            continue;
        }
        sorted.push_back(std::move(row));
    }
    result.rows = std::move(sorted);
    if (repeats > 0) {
        result.rejected["repeated segment with the same place"] += repeats;
    }
    if (result.rows.empty() && result.error.empty()) {
        result.error = "no segment rows";
    }
}

// Splits one CSV line into fields; false when a quote is left open.
bool csvFields(std::string_view line, std::vector<std::string>& fields) {
    fields.clear();
    std::string field;
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"' && field.empty()) {
            quoted = true;
        } else if (c == ',') {
            fields.push_back(field);
            field.clear();
        } else {
            field += c;
        }
    }
    fields.push_back(field);
    return !quoted;
}

// The columns of a segment CSV and the header names each goes by (lower case).
enum Column { kMobile, kProvince, kCity, kCorp, kAreaCode, kZip, kColumnCount };

struct ColumnNames {
    std::string_view name;  // as messages name it
    bool required;
    std::array<std::string_view, 4> aliases;
};

constexpr std::array<ColumnNames, kColumnCount> kColumns = {{
    {"Mobile", true, {"mobile", "prefix", "segment", "号段"}},
    {"Province", false, {"province", "省份", "", ""}},
    {"City", true, {"city", "城市", "", ""}},
    {"Corp", true, {"corp", "isp", "carrier", "运营商"}},
    {"AreaCode", false, {"areacode", "area_code", "区号", ""}},
    {"Zip", false, {"zip", "postcode", "zipcode", "邮编"}},
}};

using ColumnMap = std::array<std::optional<std::size_t>, kColumnCount>;

std::optional<Column> columnByHeader(std::string_view header) {
    const std::string name = text::toLowerAscii(text::trim(header));
    for (std::size_t column = 0; column < kColumns.size(); ++column) {
        for (const auto alias : kColumns[column].aliases) {
            if (!alias.empty() && name == alias) {
                return static_cast<Column>(column);
            }
        }
    }
    return std::nullopt;
}

// The columns a header line names; an empty text, or what is missing.
std::string readHeader(const std::vector<std::string>& fields, ColumnMap& columns) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (const auto column = columnByHeader(fields[i]); column && !columns[*column]) {
            columns[*column] = i;
        }
    }
    for (std::size_t column = 0; column < kColumns.size(); ++column) {
        if (kColumns[column].required && !columns[column]) {
            return "the header has no column " + std::string(kColumns[column].name);
        }
    }
    return {};
}

bool isHeader(const std::vector<std::string>& fields) {
    return std::any_of(fields.begin(), fields.end(), [](const std::string& field) {
        const auto column = columnByHeader(field);
        return column && *column == kMobile;
    });
}

std::string fieldAt(const std::vector<std::string>& fields, std::optional<std::size_t> at) {
    return at ? fields[*at] : std::string();
}

}  // namespace

ImportResult readPhoneDat(std::string_view bytes, const std::function<bool()>& stop) {
    ImportResult result;
    result.format = "phone.dat";
    if (bytes.size() < kHeaderBytes || !isDigits(bytes.substr(0, 4))) {
        result.error = "not a phone.dat file (no version and index offset at its start)";
        return result;
    }
    const std::uint32_t indexStart = readLe32(bytes, 4);
    if (indexStart < kHeaderBytes) {
        result.error = "damaged phone.dat: its index offset " + std::to_string(indexStart) +
                       " points into the header";
        return result;
    }
    if (indexStart > bytes.size()) {
        result.error = "damaged phone.dat: its index should begin at byte " +
                       std::to_string(indexStart) + " but the file has only " +
                       std::to_string(bytes.size()) + " bytes (cut short?)";
        return result;
    }
    if (const auto extra = (bytes.size() - indexStart) % kIndexEntryBytes; extra != 0) {
        result.error = "damaged phone.dat: the file ends inside index entry " +
                       std::to_string((bytes.size() - indexStart) / kIndexEntryBytes + 1) + " (" +
                       std::to_string(extra) + " of its 9 bytes; cut short?)";
        return result;
    }
    // Where records begin: the start of the record area and after every terminating NUL.
    std::vector<bool> recordStarts(indexStart, false);
    for (std::size_t at = kHeaderBytes; at < indexStart;) {
        recordStarts[at] = true;
        const auto end = bytes.find('\0', at);
        if (end == std::string_view::npos || end >= indexStart) {
            break;
        }
        at = end + 1;
    }
    // Any malformed entry rejects the whole file: a partly read file would replace the
    // store with fewer rows and say nothing.
    std::uint32_t previous = 0;
    for (std::size_t at = indexStart; at + kIndexEntryBytes <= bytes.size();
         at += kIndexEntryBytes) {
        const auto entry = (at - indexStart) / kIndexEntryBytes + 1;
        const auto reject = [&](const std::string& why) {
            result.error = "index entry " + std::to_string(entry) + " (byte " + std::to_string(at) +
                           "): " + why;
            result.rows.clear();
            return result;
        };
        if (entry % kRowsBetweenStops == 0 && stop && stop()) {
            return reject("interrupted");
        }
        const std::uint32_t prefix = readLe32(bytes, at);
        const std::uint32_t recordAt = readLe32(bytes, at + 4);
        const auto cardType = static_cast<unsigned char>(bytes[at + 8]);
        if (!isSegment(std::to_string(prefix))) {
            return reject("segment " + std::to_string(prefix) +
                          " is not seven digits from 1300000 to 1999999");
        }
        // Readers of this format search the index by halves: it must be strictly ascending.
        if (prefix == previous) {
            return reject("segment " + std::to_string(prefix) + " repeats the entry before it");
        }
        if (prefix < previous) {
            return reject("segment " + std::to_string(prefix) + " comes after " +
                          std::to_string(previous) + " (the index is not sorted)");
        }
        previous = prefix;
        if (cardType == 0 || cardType >= kCardTypes.size()) {
            return reject("unknown card type " + std::to_string(cardType));
        }
        if (recordAt < kHeaderBytes || recordAt >= indexStart || !recordStarts[recordAt]) {
            return reject("record offset " + std::to_string(recordAt) +
                          " is not the start of a record");
        }
        const std::string_view area = bytes.substr(recordAt, indexStart - recordAt);
        const auto end = area.find('\0');
        const std::string_view record = area.substr(0, end);
        const auto fields = text::split(record, "|");
        if (end == std::string_view::npos || fields.size() != 4 || !text::isValidUtf8(record)) {
            return reject("the record at " + std::to_string(recordAt) +
                          " is not province|city|zip|area code");
        }
        SegmentRow row{std::to_string(prefix),
                       fields[0],
                       fields[1],
                       std::string(kCardTypes[cardType]),
                       fields[3],
                       fields[2]};
        if (const std::string why = overlongField(row); !why.empty()) {
            return reject("the record at " + std::to_string(recordAt) + " has " + why);
        }
        if (const std::string why = normalizeRow(row); !why.empty()) {
            return reject("the record at " + std::to_string(recordAt) + ": " + why);
        }
        result.rows.push_back(std::move(row));
    }
    finish(result, [](std::size_t at) { return "index entry " + std::to_string(at + 1); });
    return result;
}

ImportResult readSegmentCsv(std::string_view text, const std::function<bool()>& stop) {
    ImportResult result;
    result.format = "csv";
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);  // byte order mark
    }
    ColumnMap columns{0, 1, 2, 3, std::nullopt, std::nullopt};  // no header: the classic order
    std::size_t fieldCount = 4;
    std::vector<std::string> fields;
    std::vector<std::uint32_t> rowLines;  // the line of each row, for messages
    bool first = true;
    std::size_t lines = 0;
    // Any bad line rejects the whole file, as a damaged phone.dat does: a partly read file
    // would replace the store with fewer rows.
    const auto reject = [&](const std::string& why) {
        result.rows.clear();
        result.error = "line " + std::to_string(lines) + ": " + why;
        return result;
    };
    for (std::string_view line : text::splitViews(text, "\n")) {
        if (++lines % kRowsBetweenStops == 0 && stop && stop()) {
            result.rows.clear();
            result.error = "interrupted";
            return result;
        }
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (text::trim(line).empty()) {
            continue;
        }
        if (line.find('\0') != std::string_view::npos) {
            return reject("a NUL byte, which no text file holds");
        }
        if (!text::isValidUtf8(line)) {
            return reject("bytes that are not UTF-8 text");
        }
        const bool closed = csvFields(line, fields);
        if (first) {
            first = false;
            if (closed && isHeader(fields)) {
                columns = {};
                result.error = readHeader(fields, columns);
                if (!result.error.empty()) {
                    return result;
                }
                fieldCount = fields.size();
                continue;
            }
        }
        if (!closed) {
            return reject("a quote that is never closed");
        }
        if (fields.size() != fieldCount) {
            return reject(std::to_string(fields.size()) + " fields where the file has " +
                          std::to_string(fieldCount));
        }
        SegmentRow row{fieldAt(fields, columns[kMobile]),   fieldAt(fields, columns[kProvince]),
                       fieldAt(fields, columns[kCity]),     fieldAt(fields, columns[kCorp]),
                       fieldAt(fields, columns[kAreaCode]), fieldAt(fields, columns[kZip])};
        if (const std::string why = overlongField(row); !why.empty()) {
            return reject(why);
        }
        if (const std::string why = normalizeRow(row); !why.empty()) {
            return reject(why);
        }
        result.rows.push_back(std::move(row));
        rowLines.push_back(static_cast<std::uint32_t>(lines));
    }
    if (first) {
        result.error = "empty file";
        return result;
    }
    finish(result, [&](std::size_t at) { return "line " + std::to_string(rowLines[at]); });
    return result;
}

bool isSqliteFile(std::string_view bytes) {
    return bytes.starts_with(std::string_view("SQLite format 3\0", 16));
}

ImportResult readSegmentStore(const std::string& path, const std::function<bool()>& stop) {
    ImportResult result;
    result.format = "SQLite segment store";
    const auto store = SegmentStore::open(path, &result.error);
    if (!store) {
        return result;
    }
    // Another writer's store has no checksum to trust: it is checked whole, once, here.
    result.error = store->integrityCheck();
    if (!result.error.empty()) {
        return result;
    }
    std::size_t count = 0;
    const std::string readError = store->visitRows([&](SegmentRow&& row) {
        if (!result.error.empty()) {
            return;
        }
        ++count;
        if (count % kRowsBetweenStops == 0 && stop && stop()) {
            result.error = "interrupted";
            return;
        }
        std::string why = overlongField(row);
        if (why.empty()) {
            why = normalizeRow(row);
        }
        if (!why.empty()) {
            result.error = "row " + std::to_string(count) + ": " + why;
            return;
        }
        result.rows.push_back(std::move(row));
    });
    if (result.error.empty()) {
        result.error = readError;
    }
    if (!result.error.empty()) {
        result.rows.clear();
        return result;
    }
    finish(result, [](std::size_t at) { return "row " + std::to_string(at + 1); });
    return result;
}

ImportResult readSegmentFile(std::string_view bytes, const std::function<bool()>& stop) {
    // A phone.dat begins with four version digits and a binary offset, and its records end
    // in NUL bytes; CSV text has neither. A cut phone.dat is still a phone.dat, so that its
    // damage is what the message names.
    if (bytes.size() >= kHeaderBytes && isDigits(bytes.substr(0, 4)) &&
        bytes.substr(4, 4).find_first_of(",\n") == std::string_view::npos) {
        const std::uint32_t indexStart = readLe32(bytes, 4);
        const bool wholeIndex = indexStart >= kHeaderBytes && indexStart <= bytes.size() &&
                                (bytes.size() - indexStart) % kIndexEntryBytes == 0;
        if (wholeIndex || bytes.find('\0') != std::string_view::npos) {
            return readPhoneDat(bytes, stop);
        }
    }
    return readSegmentCsv(bytes, stop);
}

}  // namespace haoma::lookup
