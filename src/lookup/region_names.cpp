// SPDX-License-Identifier: MIT
#include "lookup/region_names.h"

#include <array>

namespace haoma::lookup {
namespace {

struct ShortName {
    std::string_view prefix;    // as the description begins
    std::string_view province;  // the full name
};

// Descriptions spell the autonomous regions by their short names.
constexpr std::array kAutonomousRegions = {
    ShortName{"内蒙古", "内蒙古自治区"}, ShortName{"广西", "广西壮族自治区"},
    ShortName{"宁夏", "宁夏回族自治区"}, ShortName{"新疆", "新疆维吾尔自治区"},
    ShortName{"西藏", "西藏自治区"},
};

// The municipalities, which the data writes with and without the final 市.
constexpr std::array<std::string_view, 4> kMunicipalities = {"北京", "上海", "天津", "重庆"};

struct Rename {
    std::string_view before;
    std::string_view after;
};

// Names the data still carries, with the names in use today.
constexpr std::array kRenames = {
    Rename{"襄樊市", "襄阳市"},        // renamed 2010
    Rename{"巢湖市", "合肥市"},        // prefecture dissolved 2011, mostly into Hefei
    Rename{"莱芜市", "济南市"},        // merged into Jinan 2019
    Rename{"毕节地区", "毕节市"},      // prefecture-level city 2011
    Rename{"铜仁地区", "铜仁市"},      // 2011
    Rename{"海东地区", "海东市"},      // 2013
    Rename{"日喀则地区", "日喀则市"},  // 2014
    Rename{"昌都地区", "昌都市"},      // 2014
    Rename{"林芝地区", "林芝市"},      // 2015
    Rename{"吐鲁番地区", "吐鲁番市"},  // 2015
    Rename{"哈密地区", "哈密市"},      // 2016
    Rename{"山南地区", "山南市"},      // 2016
    Rename{"那曲地区", "那曲市"},      // 2017
};

std::string_view strip(std::string_view text, std::string_view suffix) {
    return text.ends_with(suffix) ? text.substr(0, text.size() - suffix.size()) : text;
}

std::string todaysName(std::string_view city) {
    for (const auto& rename : kRenames) {
        if (city == rename.before) {
            return std::string(rename.after);
        }
    }
    return std::string(city);
}

}  // namespace

std::optional<Region> splitDescription(std::string_view description) {
    for (const std::string_view municipality : kMunicipalities) {
        if (strip(description, "市") == municipality) {
            const std::string name = std::string(municipality) + "市";
            return Region{name, name};
        }
    }
    for (const auto& region : kAutonomousRegions) {
        if (description.starts_with(region.prefix) && description.size() > region.prefix.size()) {
            return Region{std::string(region.province),
                          todaysName(description.substr(region.prefix.size()))};
        }
    }
    // "省" is one character of three UTF-8 bytes; the province ends at its first one.
    constexpr std::string_view kProvince = "省";
    const auto end = description.find(kProvince);
    if (end == std::string_view::npos || end == 0 || end + kProvince.size() >= description.size()) {
        return std::nullopt;
    }
    return Region{std::string(description.substr(0, end + kProvince.size())),
                  todaysName(description.substr(end + kProvince.size()))};
}

}  // namespace haoma::lookup
