// SPDX-License-Identifier: MIT
#pragma once
// The carrier names (Corp) the segment store keeps, from the words segment data sets use.

#include <optional>
#include <string_view>

namespace haoma::lookup {

// The store's name for a carrier word of segment data: the short words 移动, 联通, 电信,
// 广电 and their virtual kinds (移动虚拟, …) give 中国移动, …, "中国移动(虚拟运营商)", …;
// a name already in the store's form is kept. Nothing for an empty or unknown word (未知),
// whose carrier the numbering plan then supplies.
std::optional<std::string_view> storeCarrierName(std::string_view word);

}  // namespace haoma::lookup
