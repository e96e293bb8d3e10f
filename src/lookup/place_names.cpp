// SPDX-License-Identifier: MIT
#include "lookup/place_names.h"

#include <array>

#include "text/text.h"

namespace haoma::lookup {
namespace {

struct PlaceRename {
    std::string_view province;
    std::string_view before;
    std::string_view after;
};

constexpr std::array kPlaceRenames = {
    // Renamed or merged.
    PlaceRename{"湖北", "襄樊", "襄阳"},  // renamed 2010
    PlaceRename{"安徽", "巢湖", "合肥"},  // prefecture dissolved 2011, mostly into Hefei
    PlaceRename{"山东", "莱芜", "济南"},  // merged into Jinan 2019
    // Two spellings of one league.
    PlaceRename{"内蒙古", "兴安盟", "兴安"},
    PlaceRename{"内蒙古", "锡林郭勒盟", "锡林郭勒"},
    // County seats and districts named in place of their prefecture.
    PlaceRename{"内蒙古", "乌兰浩特", "兴安"},
    PlaceRename{"内蒙古", "海拉尔", "呼伦贝尔"},
    PlaceRename{"内蒙古", "临河", "巴彦淖尔"},
    PlaceRename{"内蒙古", "集宁", "乌兰察布"},
    PlaceRename{"新疆", "库尔勒", "巴州"},
    PlaceRename{"新疆", "博乐", "博州"},
    PlaceRename{"新疆", "奎屯", "伊犁"},
    PlaceRename{"四川", "西昌", "凉山"},
    PlaceRename{"湖南", "吉首", "湘西"},
    PlaceRename{"青海", "格尔木", "海西"},
    PlaceRename{"青海", "海晏", "海北"},
    PlaceRename{"吉林", "珲春", "延边"},
    PlaceRename{"河南", "潢川", "信阳"},
    PlaceRename{"重庆", "万州", "重庆"},
    PlaceRename{"重庆", "涪陵", "重庆"},
    PlaceRename{"重庆", "黔江", "重庆"},
};

}  // namespace

Place storePlace(std::string_view province, std::string_view city) {
    Place place{std::string(text::trim(province)), std::string(text::trim(city))};
    for (const auto& rename : kPlaceRenames) {
        if (place.province == rename.province && place.city == rename.before) {
            place.city = rename.after;
            break;
        }
    }
    return place;
}

}  // namespace haoma::lookup
