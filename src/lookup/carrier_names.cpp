// SPDX-License-Identifier: MIT
#include "lookup/carrier_names.h"

#include <algorithm>
#include <array>
#include <string>

#include "text/text.h"

namespace haoma::lookup {
namespace {

struct DataWord {
    std::string_view word;  // as the data writes it
    std::string_view corp;  // as the store keeps it
};

constexpr std::array kDataWords = {
    DataWord{"移动", "中国移动"},
    DataWord{"联通", "中国联通"},
    DataWord{"电信", "中国电信"},
    DataWord{"广电", "中国广电"},
    DataWord{"移动虚拟", "中国移动(虚拟运营商)"},
    DataWord{"联通虚拟", "中国联通(虚拟运营商)"},
    DataWord{"电信虚拟", "中国电信(虚拟运营商)"},
    DataWord{"广电虚拟", "中国广电(虚拟运营商)"},
};

}  // namespace

std::optional<std::string_view> storeCarrierName(std::string_view word) {
    word = text::trim(word);
    for (const auto& name : kDataWords) {
        if (word == name.word || word == name.corp) {
            return name.corp;
        }
    }
    if (word.starts_with("中国") && word.size() > 6) {
        return word;  // another full name (中国电信(卫星通信), ...) kept as it stands
    }
    return std::nullopt;
}

namespace {

struct FilterName {
    Carrier carrier;
    std::string_view word;                    // what the filter looks for in Corp
    std::array<std::string_view, 2> english;  // names a command line may use
};

constexpr std::array<FilterName, 5> kFilterNames = {{
    {Carrier::Any, "", {"any", "不限"}},
    {Carrier::Telecom, "电信", {"telecom", ""}},
    {Carrier::Unicom, "联通", {"unicom", ""}},
    {Carrier::Mobile, "移动", {"mobile", ""}},
    {Carrier::Broadnet, "广电", {"broadnet", "cbn"}},
}};

}  // namespace

std::string_view carrierWord(Carrier carrier) {
    for (const auto& name : kFilterNames) {
        if (name.carrier == carrier) {
            return name.word;
        }
    }
    return {};
}

std::optional<Carrier> carrierByName(std::string_view given) {
    // The store's names (中国联通, 中国联通(虚拟运营商)) count as their network's word: a
    // virtual operator is found with its host network, as the window's filter finds it.
    std::string_view name = text::trim(given);
    if (name.starts_with("中国")) {
        name.remove_prefix(std::string_view("中国").size());
    }
    for (const std::string_view tail : {"(虚拟运营商)", "（虚拟运营商）", "虚拟"}) {
        if (name.ends_with(tail) && name.size() > tail.size()) {
            name.remove_suffix(tail.size());
            break;
        }
    }
    const std::string lower = text::toLowerAscii(name);
    for (const auto& entry : kFilterNames) {
        const auto named = [&](std::string_view english) {
            return !english.empty() && english == lower;
        };
        if ((!entry.word.empty() && lower == entry.word) ||
            std::any_of(entry.english.begin(), entry.english.end(), named)) {
            return entry.carrier;
        }
    }
    return std::nullopt;
}

}  // namespace haoma::lookup
