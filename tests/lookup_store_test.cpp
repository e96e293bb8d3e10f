// SPDX-License-Identifier: MIT
// The segment store, its index and the importers.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdint>
#include <fstream>

#include "lookup/import_formats.h"
#include "lookup/segment_index.h"
#include "lookup/segment_store.h"
#include "lookup/store_writer.h"
#include "temp_dir.h"

namespace haoma::lookup {
namespace {

using test::TempDir;
using Lines = std::vector<std::string>;

// A small store: rows out of order on purpose, to see the ordering by Mobile.
std::string smallStore(const TempDir& dir) {
    const std::vector<SegmentRow> rows = {
        {"1390101", "北京市", "北京市", "中国移动", "", ""},
        {"1300101", "北京市", "北京市", "中国联通", "", ""},
        {"1330101", "北京市", "北京市", "中国电信", "", ""},
        {"1380013", "广东省", "广州市", "中国移动", "", ""},
        {"1700000", "湖北省", "北海路100%店", "中国电信(虚拟运营商)", "", ""},
        {"1710000", "湖北省", "O'Brien市", "中国联通(虚拟运营商)", "", ""},
        {"1920000", "辽宁省", "大连市", "中国广电", "", ""},
    };
    const std::string path = dir.file("mobile.db");
    EXPECT_EQ(writeStore(path, rows, {{"source", "test"}}), "");
    return path;
}

TEST(SegmentStore, QueriesByCityAnywhereAndCarrier) {
    TempDir dir;
    const auto store = SegmentStore::open(smallStore(dir));
    ASSERT_NE(store, nullptr);
    struct Case {
        const char* city;
        Carrier carrier;
        Lines expected;
    };
    const Case cases[] = {
        {"北京", Carrier::Any, {"1300101", "1330101", "1390101"}},
        {"北京", Carrier::Mobile, {"1390101"}},
        {"北京", Carrier::Unicom, {"1300101"}},
        {"北京", Carrier::Telecom, {"1330101"}},
        {"北", Carrier::Any, {"1300101", "1330101", "1390101", "1700000"}},  // anywhere in City
        {"京市", Carrier::Any, {"1300101", "1330101", "1390101"}},
        {"",
         Carrier::Any,
         {"1300101", "1330101", "1380013", "1390101", "1700000", "1710000", "1920000"}},
        {"", Carrier::Telecom, {"1330101", "1700000"}},
        {"广_市", Carrier::Any, {"1380013"}},                        // _ is one character
        {"北%市", Carrier::Any, {"1300101", "1330101", "1390101"}},  // % is any run
        {"O'Brien", Carrier::Any, {"1710000"}},                      // a quote is just a character
        {"'; DROP TABLE mobile; --", Carrier::Any, {}},
        {"上海", Carrier::Any, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(store->segments(c.city, c.carrier).rows, c.expected) << c.city;
    }
    EXPECT_EQ(store->rowCount(), 7);
    EXPECT_EQ(store->meta(), (std::vector<std::pair<std::string, std::string>>{
                                 {"source", "test"}, {"writer", "haoma"}}));
}

TEST(SegmentStore, QueryTrimsBlanksAndIdeographicSpacesOnly) {
    TempDir dir;
    const auto store = SegmentStore::open(smallStore(dir));
    EXPECT_EQ(querySegments(store.get(), " \u3000广州 ", Carrier::Any).rows, Lines{"1380013"});
    EXPECT_EQ(querySegments(store.get(), "   ", Carrier::Any).rows.size(), 7U);
    EXPECT_TRUE(querySegments(store.get(), "\t广州", Carrier::Any).rows.empty());
    EXPECT_TRUE(querySegments(nullptr, "广州", Carrier::Any).rows.empty());
}

TEST(SegmentStore, NullAndPaddedValuesOfAForeignWriter) {
    TempDir dir;
    const std::string path = dir.file("other.db");
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db,
                           "CREATE TABLE mobile (Mobile, City, Corp);"
                           "INSERT INTO mobile VALUES (' 1380000 ', '北京', '移动');"
                           "INSERT INTO mobile VALUES (NULL, '北京', '移动');"
                           "INSERT INTO mobile VALUES (1390000, '北京', '移动');",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    const auto store = SegmentStore::open(path);
    ASSERT_NE(store, nullptr);
    EXPECT_EQ(store->segments("北京", Carrier::Mobile).rows, (Lines{"", "1390000", "1380000"}));
    // Without Province and AreaCode those lookups find nothing, and the others still work.
    EXPECT_TRUE(store->segmentsOfProvince("北京", Carrier::Any).rows.empty());
    EXPECT_TRUE(store->segmentsOfAreaCode("010", Carrier::Any).rows.empty());
    std::string error;
    const auto cities = store->cities(error);
    EXPECT_EQ(error, "");
    ASSERT_EQ(cities.size(), 1U);
    EXPECT_EQ(cities[0].segments, 3);
    EXPECT_EQ(cities[0].mobile, 3);
    const SegmentIndex index(*store);
    EXPECT_EQ(index.segmentCount(), 2U);  // the NULL segment is left out
    ASSERT_EQ(index.find("13800001234").verdict, NumberVerdict::Found);
    EXPECT_EQ(index.facts().at(index.find("13800001234").facts).areaCode, "");
}

TEST(SegmentIndex, VerdictsAgreeWithTheStoresRows) {
    TempDir dir;
    const auto store = SegmentStore::open(smallStore(dir));
    ASSERT_NE(store, nullptr);
    const SegmentIndex index(*store);
    const std::pair<const char*, NumberVerdict> cases[] = {
        {"1390101", NumberVerdict::Found},
        {"13901019999", NumberVerdict::Found},
        {"192000012", NumberVerdict::Found},
        {"1390102", NumberVerdict::Unknown},
        {"1999999", NumberVerdict::Unknown},
        {"1290101", NumberVerdict::NotMobile},
        {"2390101", NumberVerdict::NotMobile},
        {"139010", NumberVerdict::Malformed},
        {"139010199990", NumberVerdict::Malformed},
        {"139 0101", NumberVerdict::Malformed},
        {"", NumberVerdict::Malformed},
        {"１３９０１０１", NumberVerdict::Malformed},
    };
    for (const auto& [number, verdict] : cases) {
        EXPECT_EQ(index.find(number).verdict, verdict) << number;
    }
    // Every row is found under its own segment, with its own fields.
    int rows = 0;
    EXPECT_EQ(
        store->visitPlaces([&](std::string_view segment, std::string_view, std::string_view city,
                               std::string_view corp, std::string_view) {
            ++rows;
            const auto found = index.find(std::string(segment) + "0000");
            ASSERT_EQ(found.verdict, NumberVerdict::Found) << segment;
            EXPECT_EQ(index.facts().at(found.facts).city, city);
            EXPECT_EQ(index.facts().at(found.facts).corp, corp);
        }),
        "");
    EXPECT_EQ(rows, 7);
}

// A place array that does not hold together (here: cut short, in a store another writer
// changed) is passed over for the rows themselves.
TEST(SegmentIndex, ABrokenPlaceArrayFallsBackToTheRows) {
    TempDir dir;
    const std::string path = smallStore(dir);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db,
                           "UPDATE segment_place SET slots = zeroblob(10); PRAGMA user_version = 0;"
                           "DELETE FROM meta WHERE key = 'writer';",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    const auto store = SegmentStore::open(path);
    ASSERT_NE(store, nullptr);
    const SegmentIndex index(*store);
    EXPECT_EQ(index.segmentCount(), 7U);
    const auto found = index.find("13901019999");
    ASSERT_EQ(found.verdict, NumberVerdict::Found);
    EXPECT_EQ(index.facts().at(found.facts).corp, "中国移动");
}

TEST(SegmentStore, OpenFailsOnMissingCorruptOrForeignFiles) {
    TempDir dir;
    const std::string good = smallStore(dir);
    std::ifstream in(good, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    std::string truncated = bytes.str().substr(0, 200);
    std::string random(8192, '\0');
    for (std::size_t i = 0; i < random.size(); ++i) {
        random[i] = static_cast<char>((i * 7919 + 13) & 0xFF);
    }
    const std::string cases[] = {
        dir.file("absent.db"),
        dir.write("empty.db", ""),
        dir.write("random.db", random),
        dir.write("truncated.db", truncated),
        dir.write("text.db", "Mobile,City,Corp\n1380013,北京,移动\n"),
    };
    for (const auto& path : cases) {
        EXPECT_EQ(SegmentStore::open(path), nullptr) << path;
    }
    sqlite3* db = nullptr;
    const std::string foreign = dir.file("foreign.db");
    sqlite3_open(foreign.c_str(), &db);
    sqlite3_exec(db, "CREATE TABLE mobile (Mobile, Province); CREATE TABLE other (City, Corp);",
                 nullptr, nullptr, nullptr);
    sqlite3_close(db);
    EXPECT_EQ(SegmentStore::open(foreign), nullptr);
    // The store is never written through the query connection.
    EXPECT_NE(SegmentStore::open(good), nullptr);
}

TEST(StoreWriter, AFailedWriteLeavesTheOldStore) {
    TempDir dir;
    const std::string path = smallStore(dir);
    const std::vector<SegmentRow> duplicate = {{"1380000", "a", "b", "c", "", ""},
                                               {"1380000", "a", "b", "c", "", ""}};
    EXPECT_NE(writeStore(path, duplicate, {}), "");
    const auto store = SegmentStore::open(path);
    ASSERT_NE(store, nullptr);
    EXPECT_EQ(store->rowCount(), 7);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);
    EXPECT_NE(writeStore(dir.file("no/such/folder/mobile.db"), duplicate, {}), "");
}

// phone.dat layout written by the test: header, records, index.
std::string phoneDat(
    const std::vector<std::string>& records,
    const std::vector<std::tuple<std::uint32_t, std::size_t, unsigned char>>& index,
    const char* version = "2312") {
    std::string body;
    std::vector<std::uint32_t> offsets;
    for (const auto& record : records) {
        offsets.push_back(static_cast<std::uint32_t>(8 + body.size()));
        body += record;
        body += '\0';
    }
    const auto le32 = [](std::uint32_t v) {
        std::string s(4, '\0');
        for (int i = 0; i < 4; ++i) {
            s[static_cast<std::size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
        }
        return s;
    };
    std::string out =
        std::string(version, 4) + le32(static_cast<std::uint32_t>(8 + body.size())) + body;
    for (const auto& [prefix, record, type] : index) {
        // Record 100 points into the middle of the first record; others past the end, before it.
        const std::uint32_t offset = record < offsets.size() ? offsets[record]
                                     : record == 100         ? offsets[0] + 2
                                                             : 3;
        out += le32(prefix) + le32(offset) + std::string(1, static_cast<char>(type));
    }
    return out;
}

TEST(PhoneDat, AWellFormedFileImportsWithItsCarriersAndFields) {
    const std::string file = phoneDat(
        {"北京|北京|100000|010", "广东|广州|510000|020"},
        {{1300000, 0, 2}, {1380013, 1, 1}, {1700000, 0, 4}, {1920000, 1, 7}, {1920001, 1, 8}});
    const auto result = readSegmentFile(file);
    EXPECT_EQ(result.error, "");
    EXPECT_EQ(result.format, "phone.dat");
    ASSERT_EQ(result.rows.size(), 5U);
    EXPECT_EQ(result.rows[0].mobile, "1300000");
    EXPECT_EQ(result.rows[0].corp, "中国联通");
    EXPECT_EQ(result.rows[0].areaCode, "010");
    EXPECT_EQ(result.rows[0].zip, "100000");
    EXPECT_EQ(result.rows[1].mobile, "1380013");
    EXPECT_EQ(result.rows[1].city, "广州");
    EXPECT_EQ(result.rows[2].corp, "中国电信(虚拟运营商)");
    EXPECT_EQ(result.rows[3].corp, "中国广电");
    EXPECT_EQ(result.rows[4].corp, "中国广电(虚拟运营商)");
}

TEST(PhoneDat, AnyMalformedEntryRejectsTheWholeFileAndSaysWhere) {
    const std::vector<std::string> records = {"北京|北京|100000|010", "广东|广州|510000|020",
                                              "broken", "上海||200000|021"};
    struct Case {
        std::tuple<std::uint32_t, std::size_t, unsigned char> bad;
        const char* says;
    };
    const Case cases[] = {
        {{999, 0, 1}, "is not seven digits"},
        {{1299999, 0, 1}, "is not seven digits from 1300000"},
        {{1380013, 0, 1}, "segment 1380013 repeats the entry before it"},
        {{1310000, 0, 1}, "comes after 1380013 (the index is not sorted)"},
        {{1390000, 0, 9}, "unknown card type 9"},
        {{1390000, 7, 1}, "is not the start of a record"},    // before the record area
        {{1390000, 100, 1}, "is not the start of a record"},  // inside a record
        {{1390000, 2, 1}, "is not province|city|zip|area code"},
        {{1390000, 3, 1}, "has no city"},
        {{1400000, 0, 0}, "unknown card type 0"},
    };
    for (const auto& c : cases) {
        // Two good entries, then the bad one as the third: its position is named.
        const auto result =
            readPhoneDat(phoneDat(records, {{1300000, 0, 2}, {1380013, 1, 1}, c.bad}));
        EXPECT_TRUE(result.rows.empty()) << c.says;
        EXPECT_TRUE(result.error.starts_with("index entry 3 (byte ")) << result.error;
        EXPECT_NE(result.error.find(c.says), std::string::npos) << result.error;
    }
}

TEST(Import, MalformedFilesAreRejectedWhole) {
    const std::string good = phoneDat({"北京|北京|100000|010"}, {{1300000, 0, 2}, {1300001, 0, 2}});
    struct Case {
        std::string bytes;
        const char* says;
    };
    const Case cases[] = {
        // A phone.dat cut anywhere is named a damaged phone.dat, never read as a CSV.
        {good.substr(0, good.size() - 4), "damaged phone.dat: the file ends inside index entry 2"},
        {good.substr(0, good.size() - 9 - 4), "ends inside index entry 1"},
        {good.substr(0, 14), "damaged phone.dat: its index should begin at byte"},
        {std::string("2312") + std::string("\x03\x00\x00\x00\x00", 5), "points into the header"},
        {"", "empty file"},
        {"\x01\x02\x03", "line 1: 1 fields where the file has 4"},
        {"\xFF\xFE,1,2,3", "line 1: bytes that are not UTF-8"},
    };
    for (const auto& c : cases) {
        const auto result = readSegmentFile(c.bytes);
        EXPECT_TRUE(result.rows.empty()) << c.says;
        EXPECT_NE(result.error.find(c.says), std::string::npos) << result.error;
    }
}

}  // namespace
}  // namespace haoma::lookup
