// SPDX-License-Identifier: MIT
// The segment store the build makes from the shipped segment data: checked against the data
// file itself (read here with a plain parser), the numbering plan and the city table.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "built_store.h"
#include "lookup/city_guide.h"
#include "lookup/city_table.h"
#include "lookup/numbering_plan.h"
#include "lookup/region_names.h"
#include "lookup/segment_index.h"
#include "lookup/segment_store.h"
#include "text/text.h"

namespace haoma::lookup {
namespace {

TEST_F(BuiltStore, HoldsEveryPrefixOfTheDataInEveryBlock) {
    EXPECT_GE(storeRows->size(), 517000U);
    EXPECT_EQ(store->rowCount(), static_cast<std::int64_t>(storeRows->size()));
    std::map<std::string, int> dataBlocks, storeBlocks;
    for (const auto& [prefix, row] : *dataRows) {
        ++dataBlocks[prefix.substr(0, 3)];
    }
    for (const auto& [mobile, row] : *storeRows) {
        ++storeBlocks[mobile.substr(0, 3)];
    }
    EXPECT_EQ(storeBlocks, dataBlocks);
    for (int block = 130; block <= 199; ++block) {
        if (dataBlocks.contains(std::to_string(block))) {
            EXPECT_GT(storeBlocks[std::to_string(block)], 0) << block;
        }
    }
    std::ostringstream perBlock;
    for (const auto& [block, count] : storeBlocks) {
        perBlock << block << ":" << count << " ";
    }
    RecordProperty("rows_per_block", perBlock.str());
}

TEST_F(BuiltStore, BeijingHasItsNewBlocksInAscendingOrder) {
    const auto rows = querySegments(store.get(), "北京", Carrier::Any).rows;
    EXPECT_GE(rows.size(), 18000U);
    EXPECT_TRUE(std::any_of(rows.begin(), rows.end(), [](auto& s) { return s.starts_with("19"); }));
    EXPECT_TRUE(std::any_of(rows.begin(), rows.end(), [](auto& s) { return s.starts_with("16"); }));
    EXPECT_TRUE(std::is_sorted(rows.begin(), rows.end()));
    EXPECT_EQ(std::adjacent_find(rows.begin(), rows.end()), rows.end());
}

TEST_F(BuiltStore, CarriersComeFromTheDataAndThePlanFillsTheUnknown) {
    const std::map<std::string, std::string> byWord = {{"移动", "中国移动"},
                                                       {"联通", "中国联通"},
                                                       {"电信", "中国电信"},
                                                       {"广电", "中国广电"},
                                                       {"移动虚拟", "中国移动(虚拟运营商)"},
                                                       {"联通虚拟", "中国联通(虚拟运营商)"},
                                                       {"电信虚拟", "中国电信(虚拟运营商)"}};
    int unknown = 0;
    int disagreements = 0;
    std::map<std::string, int> disagreementsPerBlock;
    const auto host = [](std::string_view corp) { return std::string(corp.substr(0, 12)); };
    for (const auto& [prefix, data] : *dataRows) {
        const auto& corp = storeRows->at(prefix).corp;
        const auto planned = carrierOfSegment(prefix);
        if (data.isp == "未知") {
            ++unknown;
            ASSERT_TRUE(planned.has_value()) << prefix;
            EXPECT_EQ(corp, *planned) << prefix;
            continue;
        }
        EXPECT_EQ(corp, byWord.at(data.isp)) << prefix;
        if (planned && host(*planned) != host(corp)) {
            ++disagreements;
            ++disagreementsPerBlock[prefix.substr(0, 4)];
        }
    }
    EXPECT_EQ(unknown, 9);
    std::ostringstream blocks;
    for (const auto& [block, count] : disagreementsPerBlock) {
        blocks << block << ":" << count << " ";
    }
    RecordProperty("plan_disagreements", std::to_string(disagreements) + " " + blocks.str());
    std::cout << "prefixes where the plan and the data disagree on the carrier: " << disagreements
              << " (" << blocks.str() << ")\n";
    // The plan is a rough table by block; the data is per prefix. Most prefixes agree.
    EXPECT_LT(disagreements, static_cast<int>(dataRows->size() / 50));
}

TEST_F(BuiltStore, Block192IsBroadnetAndTheCarrierFilterFindsVirtualOperators) {
    int block192 = 0;
    for (const auto& [mobile, row] : *storeRows) {
        if (mobile.starts_with("192")) {
            ++block192;
            EXPECT_TRUE(row.corp.starts_with("中国广电")) << mobile;
        }
    }
    EXPECT_GT(block192, 9000);
    for (const auto& [carrier, word] :
         {std::pair{Carrier::Mobile, "移动"}, std::pair{Carrier::Unicom, "联通"},
          std::pair{Carrier::Telecom, "电信"}}) {
        std::vector<std::string> expected;
        bool virtualRows = false;
        for (const auto& [mobile, row] : *storeRows) {
            if (row.corp.find(word) != std::string::npos) {
                expected.push_back(mobile);
                virtualRows |= row.corp.find("虚拟") != std::string::npos;
            }
        }
        EXPECT_TRUE(virtualRows) << word;
        EXPECT_EQ(store->segments("", carrier).rows, expected) << word;
    }
}

TEST_F(BuiltStore, NamesAreInOneFormAndEveryStoreCityOfTheTableGivesRows) {
    const auto cities = storeCities();
    for (const char* old : {"莱芜", "巢湖", "兴安盟", "锡林郭勒盟", "库尔勒", "万州", "济南市"}) {
        EXPECT_FALSE(cities.contains(old)) << old;
    }
    for (const char* city : {"济南", "合肥", "兴安", "巴州", "重庆", "襄阳", "北京"}) {
        EXPECT_TRUE(cities.contains(city)) << city;
    }
    for (const auto& [mobile, row] : *storeRows) {
        ASSERT_FALSE(row.province.ends_with("省")) << mobile;
        ASSERT_FALSE(row.city.empty()) << mobile;
        ASSERT_TRUE(row.zip.empty() || row.zip.size() == 6) << mobile;
        ASSERT_TRUE(row.areaCode.starts_with("0")) << mobile;
    }
    const CityRecords records;
    int named = 0;
    for (std::size_t i = 1; i < records.size(); ++i) {
        const std::string name = extractCityName(records[i]);
        if (cities.contains(name)) {
            ++named;
            EXPECT_FALSE(querySegments(store.get(), name, Carrier::Any).rows.empty()) << name;
        }
    }
    EXPECT_GT(named, 200);
}

TEST_F(BuiltStore, EveryCityIsFoundByItsPinyinAndItsNameAndGivesRows) {
    const CityRecords records;
    std::map<std::string, std::string> pinyinOf;
    for (std::size_t i = 1; i < records.size(); ++i) {
        const auto fields = text::split(records[i], "|");
        pinyinOf.emplace(extractCityName(records[i]), fields.size() > 3 ? fields[3] : "");
    }
    for (const auto& city : storeCities()) {
        ASSERT_TRUE(pinyinOf.contains(city)) << city << " has no record in the city table";
        for (const auto& typed : {pinyinOf[city], city}) {
            const auto names = suggestionNames(records.findCityNames(typed));
            EXPECT_NE(std::find(names.begin(), names.end(), city), names.end())
                << city << " by " << typed;
        }
        EXPECT_FALSE(querySegments(store.get(), city, Carrier::Any).rows.empty()) << city;
    }
    // How many suggestions lead to rows when picked and queried: the 879 records alone, and
    // the table with the appended store cities.
    for (const auto& [label, table] : {std::pair{"879 records", baseCityTable()},
                                       std::pair{"carried table", embeddedCityTable()}}) {
        const CityRecords some(table);
        int withRows = 0;
        for (std::size_t i = 1; i < some.size(); ++i) {
            withRows +=
                !querySegments(store.get(), extractCityName(some[i]), Carrier::Any).rows.empty();
        }
        std::cout << label << ": " << withRows << " of " << some.size() - 1
                  << " suggestions give segments\n";
    }
}

// Names lead to their city over the real store: exact names alone, places inside a city to
// it, checked against the store's rows read on their own; and four in five suggestions lead
// to segments, greyed exactly when the query then finds none.
TEST_F(BuiltStore, EveryNameLeadsToItsCityAndMostSuggestionsToSegments) {
    std::string error;
    const PlaceAliases aliases;
    const CityRecords records;
    const CityGuide guide(store->cityNames(error), aliases, records);
    ASSERT_EQ(error, "");
    const auto rowsOfCity = [&](const std::string& city) {
        std::vector<std::string> rows;
        for (const auto& [mobile, row] : *storeRows) {
            if (row.city == city) {
                rows.push_back(mobile);
            }
        }
        return rows;
    };
    const std::pair<const char*, const char*> places[] = {
        {"鞍山", "鞍山"},       {"兴安", "兴安"},     {"汉口", "武汉"},
        {"韩城", "渭南"},       {"神木", "榆林"},     {"北屯市", "阿勒泰"},
        {"昌平", "北京"},       {"瓦房店", "大连"},   {"义乌", "金华"},
        {"莱芜", "济南"},       {"西昌", "凉山"},     {"库尔勒", "巴州"},
        {"万州", "重庆"},       {"白山市", "白山"},   {"峨边彝族自治县", "乐山"},
        {"阿里河", "呼伦贝尔"}, {"shenzhen", "深圳"}, {"sz", "深圳"},
        {"beijing", "北京"},
    };
    for (const auto& [typed, city] : places) {
        const auto answer = queryCity(store.get(), guide, typed, Carrier::Any);
        EXPECT_EQ(answer.choice.city, city) << typed;
        EXPECT_FALSE(answer.segments.rows.empty()) << typed;
        EXPECT_EQ(answer.segments.rows, rowsOfCity(city)) << typed;
    }
    // Famous places land on their city; a district's short name beats any town's; the
    // places the data files under another city say so.
    const struct {
        const char* typed;
        const char* city;
        bool filed;
    } famous[] = {
        {"浦东", "上海", false},         {"浦东新区", "上海", false}, {"前海", "深圳", false},
        {"两江新区", "重庆", false},     {"横琴", "珠海", false},     {"万盛", "重庆", false},
        {"神农架林区", "神农架", false}, {"海南州", "海南", false},   {"琼海", "海口", true},
        {"儋州", "海口", true},          {"文昌", "海口", true},      {"万宁市", "海口", true},
    };
    for (const auto& place : famous) {
        const auto answer = queryCity(store.get(), guide, place.typed, Carrier::Any);
        EXPECT_EQ(answer.choice.city, place.city) << place.typed;
        EXPECT_EQ(answer.choice.filed, place.filed) << place.typed;
        EXPECT_EQ(answer.segments.rows, rowsOfCity(place.city)) << place.typed;
        EXPECT_FALSE(answer.segments.rows.empty()) << place.typed;
    }
    // Shared names lead nowhere rather than to a guess, and name the cities that hold them.
    const struct {
        const char* typed;
        std::vector<std::string> cities;
        bool spans;
    } shared[] = {
        {"朝阳区", {"北京", "长春"}, false},
        {"滨海", {"天津", "盐城"}, false},
        {"江北", {"宁波", "重庆"}, false},
        {"西咸新区", {"西安", "咸阳"}, true},
    };
    for (const auto& place : shared) {
        const auto answer = queryCity(store.get(), guide, place.typed, Carrier::Any);
        EXPECT_EQ(answer.choice.kind, CityChoice::Kind::Shared) << place.typed;
        EXPECT_EQ(answer.choice.cities, place.cities) << place.typed;
        EXPECT_EQ(answer.choice.spans, place.spans) << place.typed;
        EXPECT_TRUE(answer.segments.rows.empty()) << place.typed;
        for (const auto& city : place.cities) {
            EXPECT_FALSE(rowsOfCity(city).empty()) << city;  // each a city of the store
        }
    }
    for (const char* name : {"海城", "华容"}) {
        EXPECT_TRUE(queryCity(store.get(), guide, name, Carrier::Any).segments.rows.empty())
            << name;
    }
    // A province's name is the province, even where a prefecture bears it; a municipality
    // is its city.
    for (const char* province : {"海南", "青海", "湖南", "吉林", "广东省", "内蒙古自治区"}) {
        const auto answer = queryCity(store.get(), guide, province, Carrier::Any);
        EXPECT_EQ(answer.choice.kind, CityChoice::Kind::Province) << province;
        EXPECT_FALSE(store->segmentsOfProvince(answer.choice.city, Carrier::Any).rows.empty())
            << province;
    }
    EXPECT_EQ(queryCity(store.get(), guide, "北京", Carrier::Any).segments.rows,
              rowsOfCity("北京"));
    const CityRecords carried(embeddedCityTable());
    int leading = 0;
    for (std::size_t i = 1; i < carried.size(); ++i) {
        const auto name = extractCityName(carried[i]);
        const bool leads = guide.leadsToSegments(name);
        leading += leads;
        const auto answer = queryCity(store.get(), guide, name, Carrier::Any);
        const bool rows =
            answer.choice.kind == CityChoice::Kind::Province
                ? !store->segmentsOfProvince(answer.choice.city, Carrier::Any).rows.empty()
                : !answer.segments.rows.empty();
        EXPECT_EQ(leads, rows) << name;
    }
    const double share = static_cast<double>(leading) / static_cast<double>(carried.size() - 1);
    std::cout << leading << " of " << carried.size() - 1 << " suggestions lead to segments\n";
    EXPECT_GE(share, 0.8);
}

}  // namespace
}  // namespace haoma::lookup

namespace haoma::lookup {
namespace {

// The place array the store carries answers for every row exactly as the row itself does.
TEST_F(BuiltStore, ThePlaceArrayAgreesWithEveryRow) {
    ASSERT_TRUE(store->placeSlots().has_value());
    const SegmentIndex index(*store);
    std::size_t rows = 0;
    ASSERT_EQ(store->visitPlaces([&](std::string_view segment, std::string_view province,
                                     std::string_view city, std::string_view corp,
                                     std::string_view areaCode) {
        ++rows;
        const auto found = index.find(segment);
        ASSERT_EQ(found.verdict, NumberVerdict::Found) << segment;
        const SegmentFacts& facts = index.facts().at(found.facts);
        EXPECT_EQ(facts.province, province);
        EXPECT_EQ(facts.city, city);
        EXPECT_EQ(facts.corp, corp);
        EXPECT_EQ(facts.areaCode, areaCode);
    }),
              "");
    EXPECT_EQ(index.segmentCount(), rows);
}

}  // namespace
}  // namespace haoma::lookup
