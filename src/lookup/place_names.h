// SPDX-License-Identifier: MIT
#pragma once
// The one form of province and city names the segment store keeps.

#include <string>
#include <string_view>

namespace haoma::lookup {

struct Place {
    std::string province;  // 山东, 内蒙古, 北京, ...
    std::string city;      // 济南, 巴州, 北京, ...
};

// The store's form of a place as segment data names it: short names as the data writes them
// (山东, 济南), trimmed; old names under today's (莱芜 is 济南, 巢湖 is 合肥, 襄樊 is 襄阳),
// and the county seats and districts that the data names for a few prefixes under their
// prefecture (库尔勒 in 巴州, 万州 in 重庆), so that a city's query finds all its segments.
Place storePlace(std::string_view province, std::string_view city);

}  // namespace haoma::lookup
