// SPDX-License-Identifier: MIT
#include "lookup/city_guide.h"

#include <algorithm>

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

std::string CityGuide::placeCity(std::string_view text) const {
    if (const auto city = aliases_.cityOf(text)) {
        return std::string(*city);
    }
    const auto bare = withoutKindWord(text);
    if (bare.size() == text.size()) {
        return "";
    }
    if (isStoreCity(bare)) {
        return endsInPrefectureWord(text) ? std::string(bare) : "";
    }
    const auto city = aliases_.cityOf(bare);
    return city ? std::string(*city) : "";
}

CityChoice CityGuide::choose(std::string_view cityText) const {
    const auto text = text::trim(cityText);
    CityChoice choice{CityChoice::Kind::Substring, std::string(text), ""};
    if (isAsciiLetters(text)) {
        const auto names = suggestionNames(records_.findCityNames(text));
        if (names.empty()) {
            return choice;
        }
        choice.given = text;
        choice.city = names.front();
    }
    if (isStoreCity(choice.city)) {
        choice.kind = CityChoice::Kind::Exact;
        return choice;
    }
    if (choice.city.empty() || hasWildcard(choice.city) || isPartOfACity(choice.city)) {
        return choice;
    }
    if (auto city = placeCity(choice.city); !city.empty()) {
        if (choice.given.empty()) {
            choice.given = choice.city;
        }
        // A store of other names (北京市 for 北京) still finds the city by its part.
        choice.kind = isStoreCity(city) ? CityChoice::Kind::Exact : CityChoice::Kind::Substring;
        choice.city = std::move(city);
    }
    return choice;
}

bool CityGuide::leadsToSegments(std::string_view name) const {
    const auto choice = choose(name);
    return choice.kind == CityChoice::Kind::Exact ||
           (!choice.city.empty() && !hasWildcard(choice.city) && isPartOfACity(choice.city));
}

CityAnswer queryCity(const SegmentStore* store, const CityGuide& guide, std::string_view cityText,
                     Carrier carrier) {
    CityAnswer answer{{}, guide.choose(cityText)};
    if (store == nullptr) {
        return answer;
    }
    answer.segments = answer.choice.kind == CityChoice::Kind::Exact
                          ? store->segmentsOfCity(answer.choice.city, carrier)
                          : store->segments(answer.choice.city, carrier);
    return answer;
}

}  // namespace haoma::lookup
