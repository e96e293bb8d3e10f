// SPDX-License-Identifier: MIT
// The name association on arbitrary keys.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>

#include "lookup/city_table.h"
#include "text/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const haoma::lookup::CityRecords records;
    static const std::set<std::string> names = [] {
        std::set<std::string> all;
        for (std::size_t i = 1; i < records.size(); ++i) {
            all.insert(haoma::lookup::extractCityName(records[i]));
        }
        return all;
    }();
    const std::string typed(reinterpret_cast<const char*>(data), size);
    const std::string result = records.findCityNames(typed);
    const auto found = haoma::lookup::suggestionNames(result);
    const std::string key = "|" + haoma::text::toLowerAscii(typed);
    if (found.size() > 20 || (!result.empty() && result.back() != '@') ||
        (!found.empty() && !haoma::text::contains(haoma::lookup::embeddedCityTable(), key))) {
        std::abort();
    }
    for (const auto& name : found) {
        if (!names.contains(name)) {
            std::abort();
        }
    }
    return 0;
}
