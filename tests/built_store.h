// SPDX-License-Identifier: MIT
#pragma once
// The store the build made, read row by row beside the data file it was made from.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>

#include "lookup/segment_store.h"

#ifndef HAOMA_STORE_PATH
#error "HAOMA_STORE_PATH names the built store"
#endif
#ifndef HAOMA_SEGMENT_CSV
#error "HAOMA_SEGMENT_CSV names the unpacked segment data"
#endif

namespace haoma::lookup {

struct StoreRow {
    std::string province, city, corp, areaCode, zip;
};

struct DataRow {
    std::string province, city, zip, areaCode, isp;
};

inline std::map<std::string, StoreRow> readStore() {
    std::map<std::string, StoreRow> rows;
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open_v2(HAOMA_STORE_PATH, &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* stmt = nullptr;
    EXPECT_EQ(
        sqlite3_prepare_v2(db, "SELECT Mobile, Province, City, Corp, AreaCode, Zip FROM mobile", -1,
                           &stmt, nullptr),
        SQLITE_OK);
    const auto text = [&](int column) {
        return std::string(reinterpret_cast<const char*>(sqlite3_column_text(stmt, column)));
    };
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        rows[text(0)] = {text(1), text(2), text(3), text(4), text(5)};
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return rows;
}

// The data file as it stands: prefix,province,city,zip,areacode,isp with one header line.
inline std::map<std::string, DataRow> readData() {
    std::ifstream file(HAOMA_SEGMENT_CSV);
    std::map<std::string, DataRow> rows;
    std::string line;
    std::getline(file, line);
    EXPECT_EQ(line, "prefix,province,city,zip,areacode,isp");
    while (std::getline(file, line)) {
        std::istringstream fields(line);
        std::string prefix;
        DataRow row;
        std::getline(fields, prefix, ',');
        std::getline(fields, row.province, ',');
        std::getline(fields, row.city, ',');
        std::getline(fields, row.zip, ',');
        std::getline(fields, row.areaCode, ',');
        std::getline(fields, row.isp, ',');
        rows[prefix] = row;
    }
    return rows;
}

class BuiltStore : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        storeRows = new std::map<std::string, StoreRow>(readStore());
        dataRows = new std::map<std::string, DataRow>(readData());
    }
    static void TearDownTestSuite() {
        delete storeRows;
        delete dataRows;
    }
    void SetUp() override {
        store = SegmentStore::open(HAOMA_STORE_PATH);
        ASSERT_NE(store, nullptr);
    }
    std::set<std::string> storeCities() const {
        std::set<std::string> cities;
        for (const auto& [mobile, row] : *storeRows) {
            cities.insert(row.city);
        }
        return cities;
    }
    static inline std::map<std::string, StoreRow>* storeRows = nullptr;
    static inline std::map<std::string, DataRow>* dataRows = nullptr;
    std::unique_ptr<SegmentStore> store;
};

}  // namespace haoma::lookup
