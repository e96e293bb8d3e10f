// SPDX-License-Identifier: MIT
// The segment store the build makes from the geocoder's data, and every description that
// data holds.
#include <gtest/gtest.h>
#include <phonenumbers/geocoding/phonenumber_offline_geocoder.h>
#include <phonenumbers/phonenumber.pb.h>
#include <sqlite3.h>

#include <map>
#include <set>

#include "lookup/numbering_plan.h"
#include "lookup/region_names.h"
#include "lookup/segment_store.h"

#ifndef HAOMA_STORE_PATH
#error "HAOMA_STORE_PATH names the built store"
#endif

namespace haoma::lookup {
namespace {

bool endsWithAny(const std::string& text, std::initializer_list<std::string_view> suffixes) {
    for (const auto suffix : suffixes) {
        if (text.ends_with(suffix) && text.size() > suffix.size()) {
            return true;
        }
    }
    return false;
}

TEST(SegmentData, EveryDescriptionSplitsIntoProvinceAndCity) {
    const i18n::phonenumbers::PhoneNumberOfflineGeocoder geocoder;
    std::set<std::string> descriptions;
    for (long prefix = 1300000; prefix <= 1999999; prefix += 1) {
        i18n::phonenumbers::PhoneNumber number;
        number.set_country_code(86);
        number.set_national_number(static_cast<std::uint64_t>(prefix) * 10000);
        descriptions.insert(geocoder.GetDescriptionForValidNumber(number, icu::Locale("zh")));
    }
    EXPECT_GE(descriptions.size(), 340U);
    std::set<std::string> provinces;
    for (const auto& description : descriptions) {
        const auto region = splitDescription(description);
        if (description.empty() || description == "中国") {
            EXPECT_FALSE(region.has_value());
            continue;
        }
        ASSERT_TRUE(region.has_value()) << description;
        EXPECT_TRUE(endsWithAny(region->province, {"省", "自治区", "市"})) << description;
        EXPECT_TRUE(endsWithAny(region->city, {"市", "州", "盟", "地区", "林区"})) << description;
        EXPECT_EQ(region->city.find("省"), std::string::npos) << description;
        EXPECT_FALSE(region->city.starts_with("自治区")) << description;
        EXPECT_FALSE(region->city.ends_with("地区") &&
                     (region->city == "毕节地区" || region->city == "哈密地区"))
            << description;
        provinces.insert(region->province);
    }
    EXPECT_GE(provinces.size(), 30U);  // the data has no Hong Kong, Macao or Taiwan rows
}

class BuiltStore : public ::testing::Test {
  protected:
    void SetUp() override {
        store = SegmentStore::open(HAOMA_STORE_PATH);
        ASSERT_NE(store, nullptr);
    }
    std::unique_ptr<SegmentStore> store;
};

TEST_F(BuiltStore, BeijingHasOverTenThousandAscendingSegments) {
    const auto rows = querySegments(store.get(), "北京", Carrier::Any);
    EXPECT_GT(rows.size(), 10000U);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        ASSERT_EQ(rows[i].size(), 7U);
        ASSERT_TRUE(carrierOfSegment(rows[i]).has_value()) << rows[i];
        if (i > 0) {
            ASSERT_LT(rows[i - 1], rows[i]);
        }
    }
    const auto mobile = querySegments(store.get(), "北京", Carrier::Mobile);
    const auto unicom = querySegments(store.get(), "北京", Carrier::Unicom);
    const auto telecom = querySegments(store.get(), "北京", Carrier::Telecom);
    EXPECT_EQ(mobile.size() + unicom.size() + telecom.size(), rows.size());
    EXPECT_FALSE(mobile.empty());
    EXPECT_FALSE(unicom.empty());
    EXPECT_FALSE(telecom.empty());
}

TEST_F(BuiltStore, EveryRowAgreesWithTheNumberingPlan) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(HAOMA_STORE_PATH, &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* stmt = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "SELECT Mobile, Province, City, Corp FROM mobile", -1, &stmt,
                                 nullptr),
              SQLITE_OK);
    std::int64_t rows = 0;
    std::set<std::string> cities;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        const std::string mobile = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
        const std::string city = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 2));
        const std::string corp = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 3));
        ASSERT_EQ(carrierOfSegment(mobile), corp) << mobile;
        cities.insert(city);
        ++rows;
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    EXPECT_GT(rows, 300000);
    EXPECT_TRUE(cities.contains("襄阳市"));
    EXPECT_FALSE(cities.contains("襄樊市"));
    EXPECT_FALSE(cities.contains("莱芜市"));
    EXPECT_FALSE(cities.contains("天津"));
    EXPECT_TRUE(cities.contains("天津市"));
    EXPECT_EQ(store->rowCount(), rows);
    const auto entries = store->meta();
    std::map<std::string, std::string> meta(entries.begin(), entries.end());
    EXPECT_TRUE(meta["source"].starts_with("libphonenumber"));
    EXPECT_FALSE(meta["source_version"].empty());
    EXPECT_EQ(meta["build_date"].size(), 10U);
}

}  // namespace
}  // namespace haoma::lookup
