// SPDX-License-Identifier: MIT
#pragma once
// Places inside the store's cities (counties, districts, towns, old names), each with the
// store city it belongs to: generated from an administrative-division data set at
// development time (tools/place_aliases) and carried inside the program.

#include <optional>
#include <string_view>
#include <vector>

namespace haoma::lookup {

// The embedded table: "place<TAB>store city" lines sorted by the place's UTF-8 bytes; a name
// that places of several cities share lists them ("place<TAB>city,city"); a third field
// notes a reviewed case ("spans": one place across several cities; "filed": the segment
// data files the place under that city). Places go by their names with and without their
// last word of kind (see withoutKindWord).
std::string_view embeddedPlaceAliases();

struct AliasedPlace {
    enum class Note { None, Spans, Filed };
    std::vector<std::string_view> cities;  // one, or (shared, spanning) several
    Note note = Note::None;
};

class PlaceAliases {
  public:
    explicit PlaceAliases(std::string_view table = embeddedPlaceAliases());

    // The place `place` names exactly; nothing when the table has no such place.
    std::optional<AliasedPlace> find(std::string_view place) const;
    // Its store city when it leads to one; nothing otherwise (unknown, or shared).
    std::optional<std::string_view> cityOf(std::string_view place) const;

    std::size_t size() const { return places_.size(); }

  private:
    struct Entry {
        std::string_view name;
        std::string_view cities;
        std::string_view note;
    };
    std::vector<Entry> places_;
};

// `name` without its last word of kind (自治县, 自治旗, 新区, 林区, 特区, 矿区, 街道, 地区,
// 市, 县, 区, 镇, 乡, 盟, 旗, 站) when at least two characters stay; else `name` itself.
std::string_view withoutKindWord(std::string_view name);

// Whether the word of kind that ends `name` is a prefecture's (市, 地区, 盟): 白山市 is the
// city 白山, while 朝阳区 is a district that need not be the city 朝阳's.
bool endsInPrefectureWord(std::string_view name);

}  // namespace haoma::lookup
