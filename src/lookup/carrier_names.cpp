// SPDX-License-Identifier: MIT
#include "lookup/carrier_names.h"

#include <array>

#include "text/text.h"

namespace haoma::lookup {
namespace {

struct CarrierName {
    std::string_view word;  // as the data writes it
    std::string_view corp;  // as the store keeps it
};

constexpr std::array kCarrierNames = {
    CarrierName{"移动", "中国移动"},
    CarrierName{"联通", "中国联通"},
    CarrierName{"电信", "中国电信"},
    CarrierName{"广电", "中国广电"},
    CarrierName{"移动虚拟", "中国移动(虚拟运营商)"},
    CarrierName{"联通虚拟", "中国联通(虚拟运营商)"},
    CarrierName{"电信虚拟", "中国电信(虚拟运营商)"},
    CarrierName{"广电虚拟", "中国广电(虚拟运营商)"},
};

}  // namespace

std::optional<std::string_view> storeCarrierName(std::string_view word) {
    word = text::trim(word);
    for (const auto& name : kCarrierNames) {
        if (word == name.word || word == name.corp) {
            return name.corp;
        }
    }
    if (word.starts_with("中国") && word.size() > 6) {
        return word;  // another full name (中国电信(卫星通信), ...) kept as it stands
    }
    return std::nullopt;
}

}  // namespace haoma::lookup
