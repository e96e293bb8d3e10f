// SPDX-License-Identifier: MIT
// How a city text leads to a city of the store: exact names first, parts of names, places
// inside a city, pinyin; over a small made-up store and alias table.
#include <gtest/gtest.h>

#include "lookup/city_guide.h"

namespace haoma::lookup {
namespace {

const std::vector<std::string> kStoreCities = {
    "鞍山", "马鞍山", "兴安", "大兴安岭", "武汉", "白山", "朝阳", "北京", "深圳", "渭南", "金华市"};
constexpr std::string_view kAliases =
    "义乌\t金华\n"
    "昌平\t北京\n"
    "汉口\t武汉\n"
    "滨海\t天津\n"
    "韩城\t渭南\n";

TEST(CityGuide, ExactNamesFirstThenPartsThenPlacesInsideACity) {
    const PlaceAliases aliases(kAliases);
    const CityRecords records;
    const CityGuide guide(kStoreCities, aliases, records);
    using K = CityChoice::Kind;
    struct Case {
        const char* typed;
        K kind;
        const char* city;
        const char* given;
    };
    const Case cases[] = {
        {"鞍山", K::Exact, "鞍山", ""},  // not 马鞍山 too
        {" 兴安\u3000", K::Exact, "兴安", ""},
        {"安", K::Substring, "安", ""},  // a part of names: every city that has it
        {"兴安岭", K::Substring, "兴安岭", ""},
        {"汉口", K::Exact, "武汉", "汉口"},
        {"昌平区", K::Exact, "北京", "昌平区"},  // without its word of kind
        {"白山市", K::Exact, "白山", "白山市"},  // a city with its word of kind
        {"朝阳区", K::Substring, "朝阳区", ""},  // a district need not be the city 朝阳's
        {"韩城站", K::Exact, "渭南", "韩城站"},
        {"义乌镇", K::Substring, "金华", "义乌镇"},  // a store that says 金华市
        {"滨海", K::Substring, "天津", "滨海"},      // a city this store does not have
        {"bj", K::Exact, "北京", "bj"},              // the first name the association offers
        {"shenzhen", K::Exact, "深圳", "shenzhen"},
        {"hankou", K::Exact, "武汉", "hankou"},  // pinyin, then a place inside a city
        {"qqq", K::Substring, "qqq", ""},        // no suggestion: as typed
        {"%", K::Substring, "%", ""},
        {"不存在", K::Substring, "不存在", ""},
        {"", K::Substring, "", ""},
    };
    for (const auto& c : cases) {
        const auto choice = guide.choose(c.typed);
        EXPECT_EQ(choice.kind, c.kind) << c.typed;
        EXPECT_EQ(choice.city, c.city) << c.typed;
        EXPECT_EQ(choice.given, c.given) << c.typed;
        if (std::string_view(c.typed) != "%") {
            // A text leads to rows exactly when its choice names a city or a part of one.
            const bool leads = c.kind == K::Exact || std::string_view(c.city) == "安" ||
                               std::string_view(c.city) == "兴安岭" ||
                               std::string_view(c.city) == "金华";
            EXPECT_EQ(guide.leadsToSegments(c.typed), leads) << c.typed;
        }
    }
}

TEST(PlaceAliases, LookupIsExactAndWordsOfKindComeOffOnce) {
    const PlaceAliases aliases(kAliases);
    EXPECT_EQ(aliases.size(), 5U);
    EXPECT_EQ(aliases.cityOf("汉口").value_or(""), "武汉");
    EXPECT_FALSE(aliases.cityOf("汉").has_value());
    EXPECT_FALSE(aliases.cityOf("汉口镇").has_value());
    const std::pair<const char*, const char*> words[] = {
        {"白山市", "白山"},       {"阿里河镇", "阿里河"},
        {"东华门街道", "东华门"}, {"大兴安岭地区", "大兴安岭"},
        {"额济纳旗", "额济纳"},   {"市", "市"},
        {"沙市", "沙市"},  // one character would stay: kept whole
        {"北京", "北京"},
    };
    for (const auto& [name, bare] : words) {
        EXPECT_EQ(withoutKindWord(name), bare) << name;
    }
    EXPECT_TRUE(endsInPrefectureWord("白山市"));
    EXPECT_FALSE(endsInPrefectureWord("朝阳区"));
    EXPECT_FALSE(endsInPrefectureWord("沙市"));
    // The carried table is sorted for its binary search, and every line has its city.
    const PlaceAliases carried;
    EXPECT_GT(carried.size(), 20000U);
    EXPECT_EQ(carried.cityOf("汉口").value_or(""), "武汉");
}

}  // namespace
}  // namespace haoma::lookup
