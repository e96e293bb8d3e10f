// SPDX-License-Identifier: MIT
#pragma once
// The provinces of the mainland in the order of their administrative-division codes (11
// 北京, 12 天津, 13 河北 … 65 新疆), by the short names the segment store keeps and their
// full names.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace haoma::lookup {

struct ProvinceName {
    std::string_view shortName;  // 广东, 内蒙古
    std::string_view fullName;   // 广东省, 内蒙古自治区
    bool municipality;           // 北京, 天津, 上海, 重庆: a province that is its city
};

std::span<const ProvinceName> provincesInCodeOrder();

// The province a text names, by its short or full name; nothing for any other text.
std::optional<ProvinceName> provinceNamed(std::string_view text);

// Province names (a store's, short or full) in code order; names that are none of them
// come after, in their own order.
std::vector<std::string> inCodeOrder(std::vector<std::string> provinces);

}  // namespace haoma::lookup
