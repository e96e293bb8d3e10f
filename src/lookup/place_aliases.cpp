// SPDX-License-Identifier: MIT
#include "lookup/place_aliases.h"

#include <algorithm>
#include <array>

#include "text/text.h"

namespace haoma::lookup {
namespace {

// The generator strips the same words (tools/place_aliases/generate.mjs).
constexpr std::array<std::string_view, 10> kKindWords = {"街道", "地区", "市", "县", "区",
                                                         "镇",   "乡",   "盟", "旗", "站"};

// Two Chinese characters are six bytes of UTF-8.
constexpr std::size_t kShortestPlaceBytes = 6;

}  // namespace

PlaceAliases::PlaceAliases(std::string_view table) {
    for (const auto line : text::splitViews(table, "\n")) {
        const auto tab = line.find('\t');
        if (tab != std::string_view::npos) {
            places_.emplace_back(line.substr(0, tab), line.substr(tab + 1));
        }
    }
}

std::optional<std::string_view> PlaceAliases::cityOf(std::string_view place) const {
    const auto found = std::lower_bound(
        places_.begin(), places_.end(), place,
        [](const auto& entry, std::string_view sought) { return entry.first < sought; });
    if (found == places_.end() || found->first != place) {
        return std::nullopt;
    }
    return found->second;
}

std::string_view withoutKindWord(std::string_view name) {
    for (const auto word : kKindWords) {
        if (name.ends_with(word) && name.size() - word.size() >= kShortestPlaceBytes) {
            return name.substr(0, name.size() - word.size());
        }
    }
    return name;
}

bool endsInPrefectureWord(std::string_view name) {
    return withoutKindWord(name).size() < name.size() &&
           (name.ends_with("市") || name.ends_with("地区") || name.ends_with("盟"));
}

}  // namespace haoma::lookup
