// SPDX-License-Identifier: MIT
#pragma once
// Places inside the store's cities (counties, districts, towns, old names), each with the
// store city it belongs to: generated from an administrative-division data set at
// development time (tools/place_aliases) and carried inside the program.

#include <optional>
#include <string_view>
#include <vector>

namespace haoma::lookup {

// The embedded table: "place<TAB>store city" lines sorted by the place's UTF-8 bytes. A
// place's last word of kind (see withoutKindWord) is not part of it.
std::string_view embeddedPlaceAliases();

class PlaceAliases {
  public:
    explicit PlaceAliases(std::string_view table = embeddedPlaceAliases());

    // The store city of `place`, exactly as the table names the place; nothing when the
    // table has no such place (or the name is shared by places of several cities).
    std::optional<std::string_view> cityOf(std::string_view place) const;

    std::size_t size() const { return places_.size(); }

  private:
    std::vector<std::pair<std::string_view, std::string_view>> places_;
};

// `name` without its last word of kind (市, 县, 区, 镇, 乡, 街道, 地区, 盟, 旗, 站) when at
// least two characters stay; else `name` itself.
std::string_view withoutKindWord(std::string_view name);

// Whether the word of kind that ends `name` is a prefecture's (市, 地区, 盟): 白山市 is the
// city 白山, while 朝阳区 is a district that need not be the city 朝阳's.
bool endsInPrefectureWord(std::string_view name);

}  // namespace haoma::lookup
