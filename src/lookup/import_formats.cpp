// SPDX-License-Identifier: MIT
#include "lookup/import_formats.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <set>

#include "text/text.h"

namespace haoma::lookup {
namespace {

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

// Keeps the first row of each segment, counts later ones as rejected, and orders by Mobile.
void finish(ImportResult& result) {
    std::stable_sort(result.rows.begin(), result.rows.end(),
                     [](const SegmentRow& a, const SegmentRow& b) { return a.mobile < b.mobile; });
    const auto duplicates =
        std::unique(result.rows.begin(), result.rows.end(),
                    [](const SegmentRow& a, const SegmentRow& b) { return a.mobile == b.mobile; });
    const auto count = static_cast<int>(result.rows.end() - duplicates);
    if (count > 0) {
        result.rejected["duplicate segment"] += count;
    }
    result.rows.erase(duplicates, result.rows.end());
    if (result.rows.empty() && result.error.empty()) {
        result.error = "no valid segment rows";
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

}  // namespace

ImportResult readPhoneDat(std::string_view bytes) {
    ImportResult result;
    result.format = "phone.dat";
    if (bytes.size() < kHeaderBytes) {
        result.error = "too short for a phone.dat header";
        return result;
    }
    const std::uint32_t indexStart = readLe32(bytes, 4);
    if (!isDigits(bytes.substr(0, 4)) || indexStart < kHeaderBytes || indexStart > bytes.size() ||
        (bytes.size() - indexStart) % kIndexEntryBytes != 0) {
        result.error = "not a phone.dat file (bad header or index size)";
        return result;
    }
    std::set<std::uint32_t> badRecords;
    for (std::size_t at = indexStart; at + kIndexEntryBytes <= bytes.size();
         at += kIndexEntryBytes) {
        const std::uint32_t prefix = readLe32(bytes, at);
        const std::uint32_t recordAt = readLe32(bytes, at + 4);
        const auto cardType = static_cast<unsigned char>(bytes[at + 8]);
        if (prefix < 1000000 || prefix > 1999999) {
            ++result.rejected["segment not seven digits starting with 1"];
            continue;
        }
        if (cardType == 0 || cardType >= kCardTypes.size()) {
            ++result.rejected["unknown card type"];
            continue;
        }
        if (recordAt < kHeaderBytes || recordAt >= indexStart) {
            ++result.rejected["record offset outside the record area"];
            continue;
        }
        const std::string_view area = bytes.substr(recordAt, indexStart - recordAt);
        const auto end = area.find('\0');
        const std::string_view record = area.substr(0, end);
        const auto fields = text::split(record, "|");
        if (end == std::string_view::npos || fields.size() != 4 || !text::isValidUtf8(record)) {
            ++result.rejected["malformed record"];
            continue;
        }
        const std::string city(text::trim(fields[1]));
        if (city.empty()) {
            ++result.rejected["record without a city"];
            continue;
        }
        result.rows.push_back({std::to_string(prefix), std::string(text::trim(fields[0])), city,
                               std::string(kCardTypes[cardType])});
    }
    finish(result);
    return result;
}

ImportResult readSegmentCsv(std::string_view text) {
    ImportResult result;
    result.format = "csv";
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);  // byte order mark
    }
    std::vector<std::string> fields;
    bool first = true;
    for (std::string_view line : text::splitViews(text, "\n")) {
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (text::trim(line).empty()) {
            continue;
        }
        const bool closed = csvFields(line, fields);
        if (first) {
            first = false;
            if (closed && !fields.empty() &&
                text::toLowerAscii(text::trim(fields[0])) == "mobile") {
                continue;  // header
            }
        }
        if (!closed || fields.size() != 4) {
            ++result.rejected["not four fields"];
            continue;
        }
        if (!text::isValidUtf8(line)) {
            ++result.rejected["not UTF-8 text"];
            continue;
        }
        const std::string mobile(text::trim(fields[0]));
        if (mobile.size() != 7 || !isDigits(mobile) || mobile[0] != '1') {
            ++result.rejected["segment not seven digits starting with 1"];
            continue;
        }
        SegmentRow row{mobile, std::string(text::trim(fields[1])),
                       std::string(text::trim(fields[2])), std::string(text::trim(fields[3]))};
        if (row.city.empty() || row.corp.empty()) {
            ++result.rejected["missing city or carrier"];
            continue;
        }
        result.rows.push_back(std::move(row));
    }
    if (first) {
        result.error = "empty file";
        return result;
    }
    finish(result);
    return result;
}

ImportResult readSegmentFile(std::string_view bytes) {
    // A phone.dat begins with four version digits and a binary offset; CSV text does not
    // hold a consistent binary index, so the header's arithmetic tells them apart.
    if (bytes.size() >= kHeaderBytes && isDigits(bytes.substr(0, 4))) {
        const std::uint32_t indexStart = readLe32(bytes, 4);
        if (indexStart >= kHeaderBytes && indexStart <= bytes.size() &&
            (bytes.size() - indexStart) % kIndexEntryBytes == 0 &&
            bytes.substr(4, 4).find_first_of(",\n") == std::string_view::npos) {
            return readPhoneDat(bytes);
        }
    }
    return readSegmentCsv(bytes);
}

}  // namespace haoma::lookup
