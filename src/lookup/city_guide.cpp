// SPDX-License-Identifier: MIT
#include "lookup/city_guide.h"

#include <algorithm>

#include "lookup/province_names.h"
#include "text/text.h"

namespace haoma::lookup {
namespace {

bool isAsciiLetters(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    });
}

bool hasWildcard(std::string_view text) {
    return text.find_first_of("%_") != std::string_view::npos;
}

}  // namespace

CityGuide::CityGuide(std::vector<std::string> storeCities, const PlaceAliases& aliases,
                     const CityRecords& records)
    : storeCities_(std::move(storeCities)), aliases_(aliases), records_(records) {
    std::sort(storeCities_.begin(), storeCities_.end());
}

bool CityGuide::isStoreCity(std::string_view name) const {
    return std::binary_search(storeCities_.begin(), storeCities_.end(), name,
                              [](std::string_view a, std::string_view b) { return a < b; });
}

bool CityGuide::isPartOfACity(std::string_view text) const {
    return std::any_of(storeCities_.begin(), storeCities_.end(),
                       [&](const std::string& city) { return text::contains(city, text); });
}

std::optional<AliasedPlace> CityGuide::place(std::string_view text) const {
    if (auto found = aliases_.find(text)) {
        return found;
    }
    const auto bare = withoutKindWord(text);
    if (bare.size() == text.size()) {
        return std::nullopt;
    }
    if (isStoreCity(bare)) {
        return endsInPrefectureWord(text)
                   ? std::optional(AliasedPlace{{bare}, AliasedPlace::Note::None})
                   : std::nullopt;
    }
    return aliases_.find(bare);
}

CityChoice CityGuide::choose(std::string_view cityText) const {
    const auto text = text::trim(cityText);
    CityChoice choice;
    choice.city = std::string(text);
    if (isAsciiLetters(text)) {
        const auto names = suggestionNames(records_.findCityNames(text));
        if (names.empty()) {
            return choice;
        }
        choice.given = text;
        choice.city = names.front();
    }
    if (const auto province = provinceNamed(choice.city); province && !province->municipality) {
        choice.kind = CityChoice::Kind::Province;
        choice.city = province->shortName;
        return choice;
    }
    if (isStoreCity(choice.city)) {
        choice.kind = CityChoice::Kind::Exact;
        return choice;
    }
    if (choice.city.empty() || hasWildcard(choice.city) || isPartOfACity(choice.city)) {
        return choice;
    }
    const auto found = place(choice.city);
    if (!found) {
        return choice;
    }
    if (choice.given.empty()) {
        choice.given = choice.city;
    }
    if (found->cities.size() > 1) {
        choice.kind = CityChoice::Kind::Shared;
        choice.cities.assign(found->cities.begin(), found->cities.end());
        choice.spans = found->note == AliasedPlace::Note::Spans;
        return choice;
    }
    choice.city = std::string(found->cities.front());
    choice.filed = found->note == AliasedPlace::Note::Filed;
    // A store of other names (北京市 for 北京) still finds the city by its part.
    choice.kind = isStoreCity(choice.city) ? CityChoice::Kind::Exact : CityChoice::Kind::Substring;
    return choice;
}

bool CityGuide::leadsToSegments(std::string_view name) const {
    const auto choice = choose(name);
    return choice.kind == CityChoice::Kind::Exact || choice.kind == CityChoice::Kind::Province ||
           (!choice.city.empty() && !hasWildcard(choice.city) && isPartOfACity(choice.city));
}

CityAnswer queryCity(const SegmentStore* store, const CityGuide& guide, std::string_view cityText,
                     Carrier carrier) {
    CityAnswer answer{{}, guide.choose(cityText)};
    if (store == nullptr || answer.choice.kind == CityChoice::Kind::Province ||
        answer.choice.kind == CityChoice::Kind::Shared) {
        return answer;  // no rows of a city: the caller says why
    }
    answer.segments = answer.choice.kind == CityChoice::Kind::Exact
                          ? store->segmentsOfCity(answer.choice.city, carrier)
                          : store->segments(answer.choice.city, carrier);
    return answer;
}

}  // namespace haoma::lookup
