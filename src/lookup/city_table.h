// SPDX-License-Identifier: MIT
#pragma once
// The city table carried inside the program and the name association on it: typed
// Chinese, pinyin or initials find the Chinese city names that begin with them.

#include <string>
#include <string_view>
#include <vector>

namespace haoma::lookup {

inline constexpr int kMaxSuggestions = 20;
inline constexpr std::size_t kBaseCityRecords = 879;

// The embedded table: records "code|name|upperCode|pinyin|initials|number", each introduced
// by "@": the 879 records of the railway name list, then one record for every city of the
// segment store that none of them names.
std::string_view embeddedCityTable();

// The first 879 records of the embedded table, without the appended store cities.
std::string_view baseCityTable();

// The table split at every "@" (the first entry is the empty text before the first "@").
class CityRecords {
  public:
    explicit CityRecords(std::string_view table = embeddedCityTable());

    // The names of the records that contain "|" followed by the ASCII-lowercased text, each
    // followed by "@", in table order, at most 20; the empty text when none matches.
    std::string findCityNames(std::string_view typed) const;

    std::size_t size() const { return records_.size(); }
    std::string_view operator[](std::size_t index) const { return records_[index]; }

  private:
    std::string_view table_;
    std::vector<std::string_view> records_;
};

// The names among `cities` that no record of the table names, in the given order.
std::vector<std::string> citiesWithoutRecord(const CityRecords& records,
                                             const std::vector<std::string>& cities);

// The characters of a record outside U+0020..U+007F, in order: its Chinese name.
std::string extractCityName(std::string_view record);

// The names of a suggestion text ("北京@北安@" gives 北京 and 北安).
std::vector<std::string> suggestionNames(std::string_view suggestions);

// Height in pixels of the suggestion list for n names: 30 each below five, 14 each from five.
int suggestionListHeight(int names);

}  // namespace haoma::lookup
