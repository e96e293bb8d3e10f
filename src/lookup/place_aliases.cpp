// SPDX-License-Identifier: MIT
#include "lookup/place_aliases.h"

#include <algorithm>
#include <array>

#include "text/text.h"

namespace haoma::lookup {
namespace {

// The generator strips the same words (tools/place_aliases/generate.mjs), longest first.
constexpr std::array<std::string_view, 16> kKindWords = {
    "自治县", "自治旗", "新区", "林区", "特区", "矿区", "街道", "地区",
    "市",     "县",     "区",   "镇",   "乡",   "盟",   "旗",   "站"};

// Two Chinese characters are six bytes of UTF-8.
constexpr std::size_t kShortestPlaceBytes = 6;

}  // namespace

PlaceAliases::PlaceAliases(std::string_view table) {
    for (const auto line : text::splitViews(table, "\n")) {
        const auto fields = text::splitViews(line, "\t");
        if (fields.size() >= 2) {
            places_.push_back({fields[0], fields[1], fields.size() > 2 ? fields[2] : ""});
        }
    }
}

std::optional<AliasedPlace> PlaceAliases::find(std::string_view place) const {
    const auto found = std::lower_bound(
        places_.begin(), places_.end(), place,
        [](const Entry& entry, std::string_view sought) { return entry.name < sought; });
    if (found == places_.end() || found->name != place) {
        return std::nullopt;
    }
    AliasedPlace answer;
    answer.cities = text::splitViews(found->cities, ",");
    answer.note = found->note == "spans"   ? AliasedPlace::Note::Spans
                  : found->note == "filed" ? AliasedPlace::Note::Filed
                                           : AliasedPlace::Note::None;
    return answer;
}

std::optional<std::string_view> PlaceAliases::cityOf(std::string_view place) const {
    const auto found = find(place);
    if (!found || found->cities.size() != 1) {
        return std::nullopt;
    }
    return found->cities.front();
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
