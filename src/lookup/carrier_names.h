// SPDX-License-Identifier: MIT
#pragma once
// The carrier names (Corp) the segment store keeps, from the words segment data sets use,
// and the carriers a query filters by.

#include <optional>
#include <string_view>

namespace haoma::lookup {

// The store's name for a carrier word of segment data: the short words 移动, 联通, 电信,
// 广电 and their virtual kinds (移动虚拟, …) give 中国移动, …, "中国移动(虚拟运营商)", …;
// a name already in the store's form is kept. Nothing for an empty or unknown word (未知),
// whose carrier the numbering plan then supplies.
std::optional<std::string_view> storeCarrierName(std::string_view word);

enum class Carrier { Any, Telecom, Unicom, Mobile, Broadnet };

// The word a carrier filter looks for in Corp ("电信", "联通", "移动", "广电"); empty for Any.
std::string_view carrierWord(Carrier carrier);

// The carrier named by `name`: "any", "不限", "电信", "联通", "移动", "广电" (also
// "telecom", "unicom", "mobile", "broadnet"), or a name the store gives a carrier (中国移动,
// 中国联通(虚拟运营商): a virtual operator is found with its host network); nothing for any
// other text.
std::optional<Carrier> carrierByName(std::string_view name);

}  // namespace haoma::lookup
