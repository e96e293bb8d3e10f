// SPDX-License-Identifier: MIT
#pragma once
// How the text of a city box leads to a city of the segment store, the one rule of the
// window and haoma-cli: pinyin to the first name the association offers, an exact name to
// that city alone, else the part of a name, else a place inside a city to that city.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lookup/city_table.h"
#include "lookup/place_aliases.h"
#include "lookup/segment_store.h"

namespace haoma::lookup {

struct CityChoice {
    enum class Kind {
        Exact,      // `city` is a city of the store: its rows alone
        Substring,  // the rows whose City contains `city` (an SQL LIKE pattern)
        Province,   // `city` is a province (short name): its rows go by province, not here
        Shared,     // a place of several cities (`cities`): no rows, the user says which
    };
    Kind kind = Kind::Substring;
    std::string city;
    // The text as the user gave it when it was taken for another name (pinyin, a place
    // inside a city): "汉口" for 武汉. Empty when the text was used as it stands.
    std::string given;
    std::vector<std::string> cities;  // Shared: the cities that hold the place
    bool spans = false;               // Shared: one place across them (a new area)
    bool filed = false;  // Exact: the segment data files the place under `city` (琼海: 海口)
};

class CityGuide {
  public:
    // `storeCities`: the store's city names (any order). The tables must outlive the guide.
    CityGuide(std::vector<std::string> storeCities, const PlaceAliases& aliases,
              const CityRecords& records);

    // The choice for a city text, trimmed of blanks and ideographic spaces:
    // 1. only ASCII letters (pinyin, initials): the first name the association offers for
    //    them, if any, is taken instead and goes on through the steps below;
    // 2. a province's name (海南, 湖南省), a municipality's aside: the province, even where a
    //    prefecture bears the same name (青海's 海南 is 海南州);
    // 3. a city of the store: that city exactly (鞍山 is not 马鞍山);
    // 4. a part of a city's name, or wildcards: the substring rule;
    // 5. a place of the alias table, as typed or without its last word of kind, or a city
    //    of the store without that word (白山市): that city exactly (or by the substring
    //    rule, in a store that names it otherwise); a place of several cities: shared;
    // 6. else the substring rule, which then finds no row.
    CityChoice choose(std::string_view cityText) const;

    // Whether a text leads to rows of the store's cities by choose(): a city, or a part of
    // a city's name (wildcards left aside).
    bool leadsToSegments(std::string_view name) const;

  private:
    bool isStoreCity(std::string_view name) const;
    bool isPartOfACity(std::string_view text) const;
    // Step 5: the place a text names, if any.
    std::optional<AliasedPlace> place(std::string_view text) const;

    std::vector<std::string> storeCities_;  // sorted
    const PlaceAliases& aliases_;
    const CityRecords& records_;
};

// The answer of a city query: the rows, and the choice that gave them.
struct CityAnswer {
    SegmentRows segments;
    CityChoice choice;
};

// Runs the guide's choice on the store with the carrier filter; no rows (and no error)
// when there is no store.
CityAnswer queryCity(const SegmentStore* store, const CityGuide& guide, std::string_view cityText,
                     Carrier carrier);

}  // namespace haoma::lookup
