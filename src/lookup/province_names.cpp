// SPDX-License-Identifier: MIT
#include "lookup/province_names.h"

#include <algorithm>
#include <array>

namespace haoma::lookup {
namespace {

constexpr std::array<ProvinceName, 31> kProvinces = {{
    {"北京", "北京市", true},
    {"天津", "天津市", true},
    {"河北", "河北省", false},
    {"山西", "山西省", false},
    {"内蒙古", "内蒙古自治区", false},
    {"辽宁", "辽宁省", false},
    {"吉林", "吉林省", false},
    {"黑龙江", "黑龙江省", false},
    {"上海", "上海市", true},
    {"江苏", "江苏省", false},
    {"浙江", "浙江省", false},
    {"安徽", "安徽省", false},
    {"福建", "福建省", false},
    {"江西", "江西省", false},
    {"山东", "山东省", false},
    {"河南", "河南省", false},
    {"湖北", "湖北省", false},
    {"湖南", "湖南省", false},
    {"广东", "广东省", false},
    {"广西", "广西壮族自治区", false},
    {"海南", "海南省", false},
    {"重庆", "重庆市", true},
    {"四川", "四川省", false},
    {"贵州", "贵州省", false},
    {"云南", "云南省", false},
    {"西藏", "西藏自治区", false},
    {"陕西", "陕西省", false},
    {"甘肃", "甘肃省", false},
    {"青海", "青海省", false},
    {"宁夏", "宁夏回族自治区", false},
    {"新疆", "新疆维吾尔自治区", false},
}};

std::size_t placeOf(std::string_view name) {
    for (std::size_t at = 0; at < kProvinces.size(); ++at) {
        if (name == kProvinces[at].shortName || name == kProvinces[at].fullName) {
            return at;
        }
    }
    return kProvinces.size();
}

}  // namespace

std::span<const ProvinceName> provincesInCodeOrder() {
    return kProvinces;
}

std::optional<ProvinceName> provinceNamed(std::string_view text) {
    const std::size_t at = placeOf(text);
    return at < kProvinces.size() ? std::optional(kProvinces[at]) : std::nullopt;
}

std::vector<std::string> inCodeOrder(std::vector<std::string> provinces) {
    std::stable_sort(
        provinces.begin(), provinces.end(),
        [](const std::string& a, const std::string& b) { return placeOf(a) < placeOf(b); });
    return provinces;
}

}  // namespace haoma::lookup
