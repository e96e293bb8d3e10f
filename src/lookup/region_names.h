// SPDX-License-Identifier: MIT
#pragma once
// Province and city of a geocoder description such as "山东省济南市".

#include <optional>
#include <string>
#include <string_view>

namespace haoma::lookup {

struct Region {
    std::string province;  // 山东省, 内蒙古自治区, 北京市, ...
    std::string city;      // 济南市, 伊犁哈萨克自治州, 神农架林区, 北京市, ...
};

// Splits a description into province and city under today's names: the municipalities
// stand for themselves, the five autonomous regions get their full names, and cities that
// were renamed or merged since the data was made are replaced (襄樊市 is 襄阳市, the
// former 地区 that are cities now, 莱芜 in 济南, 巢湖 in 合肥). Nothing when the
// description names no city (only the country, or nothing known).
std::optional<Region> splitDescription(std::string_view description);

}  // namespace haoma::lookup
