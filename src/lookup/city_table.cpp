// SPDX-License-Identifier: MIT
#include "lookup/city_table.h"

#include <set>

#include "text/text.h"

namespace haoma::lookup {

std::string_view baseCityTable() {
    const std::string_view table = embeddedCityTable();
    std::size_t at = 0;
    for (std::size_t record = 0; record <= kBaseCityRecords && at != std::string_view::npos;
         ++record) {
        at = table.find('@', at + (record == 0 ? 0 : 1));
    }
    return table.substr(0, at);
}

CityRecords::CityRecords(std::string_view table)
    : table_(table), records_(text::splitViews(table, "@")) {}

std::string CityRecords::findCityNames(std::string_view typed) const {
    const std::string key = "|" + text::toLowerAscii(typed);
    std::string result;
    // A key that is nowhere in the table matches no record: most misses end here.
    if (!text::contains(table_, key)) {
        return result;
    }
    int matches = 0;
    for (const std::string_view record : records_) {
        if (text::contains(record, key)) {
            result += extractCityName(record);
            result += '@';
            if (++matches == kMaxSuggestions) {
                break;
            }
        }
    }
    return result;
}

std::vector<std::string> citiesWithoutRecord(const CityRecords& records,
                                             const std::vector<std::string>& cities) {
    std::set<std::string> named;
    for (std::size_t i = 1; i < records.size(); ++i) {
        named.insert(extractCityName(records[i]));
    }
    std::vector<std::string> missing;
    for (const auto& city : cities) {
        if (!named.contains(city)) {
            missing.push_back(city);
        }
    }
    return missing;
}

std::string extractCityName(std::string_view record) {
    std::string name;
    for (const char c : record) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x80) {  // UTF-8: every byte of a non-ASCII character
            name += c;
        }
    }
    return name;
}

std::vector<std::string> suggestionNames(std::string_view suggestions) {
    return text::split(suggestions, "@");
}

int suggestionListHeight(int names) {
    return names < 5 ? names * 30 : names * 14;
}

}  // namespace haoma::lookup
