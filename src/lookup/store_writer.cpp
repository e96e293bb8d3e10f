// SPDX-License-Identifier: MIT
#include "lookup/store_writer.h"

#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

namespace haoma::lookup {
namespace {

constexpr const char* kSchema =
    "CREATE TABLE mobile ("
    " Mobile TEXT PRIMARY KEY NOT NULL,"
    " Province TEXT NOT NULL,"
    " City TEXT NOT NULL,"
    " Corp TEXT NOT NULL,"
    " AreaCode TEXT NOT NULL,"
    " Zip TEXT NOT NULL) WITHOUT ROWID;"
    "CREATE TABLE meta (key TEXT PRIMARY KEY NOT NULL, value TEXT NOT NULL) WITHOUT ROWID;";

// The distinct city names and an index from city to its rows: a query matches its pattern
// against a few hundred names instead of every row.
constexpr const char* kCityIndex =
    "CREATE TABLE city (City TEXT PRIMARY KEY NOT NULL) WITHOUT ROWID;"
    "INSERT INTO city SELECT DISTINCT City FROM mobile;"
    "CREATE INDEX mobile_by_city ON mobile (City, Mobile);";

std::string lastError(sqlite3* db) {
    return db != nullptr ? sqlite3_errmsg(db) : "out of memory";
}

bool insertAll(sqlite3* db, const char* sql,
               const std::vector<std::vector<const std::string*>>& rows, std::string& error) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK) {
        error = lastError(db);
        return false;
    }
    bool ok = true;
    for (const auto& row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            sqlite3_bind_text(stmt, static_cast<int>(i + 1), row[i]->data(),
                              static_cast<int>(row[i]->size()), SQLITE_STATIC);
        }
        if (sqlite3_step(stmt) != SQLITE_DONE) {
            error = lastError(db) + std::string(" (") + *row[0] + ")";
            ok = false;
            break;
        }
        sqlite3_reset(stmt);
    }
    sqlite3_finalize(stmt);
    return ok;
}

}  // namespace

std::string writeStore(const std::string& path, const std::vector<SegmentRow>& rows,
                       const MetaEntries& meta) {
    const std::string temporary = path + ".new-" + std::to_string(getpid());
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    sqlite3* db = nullptr;
    std::string error;
    if (sqlite3_open_v2(temporary.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) != SQLITE_OK) {
        error = "cannot create " + temporary + ": " + lastError(db);
    } else if (sqlite3_exec(db, "PRAGMA journal_mode=OFF; BEGIN;", nullptr, nullptr, nullptr) !=
                   SQLITE_OK ||
               sqlite3_exec(db, kSchema, nullptr, nullptr, nullptr) != SQLITE_OK) {
        error = lastError(db);
    } else {
        std::vector<std::vector<const std::string*>> rowFields;
        rowFields.reserve(rows.size());
        for (const auto& row : rows) {
            rowFields.push_back(
                {&row.mobile, &row.province, &row.city, &row.corp, &row.areaCode, &row.zip});
        }
        std::vector<std::vector<const std::string*>> metaFields;
        for (const auto& [key, value] : meta) {
            metaFields.push_back({&key, &value});
        }
        if (insertAll(db, "INSERT INTO mobile VALUES (?1, ?2, ?3, ?4, ?5, ?6)", rowFields, error) &&
            insertAll(db, "INSERT INTO meta VALUES (?1, ?2)", metaFields, error) &&
            (sqlite3_exec(db, kCityIndex, nullptr, nullptr, nullptr) != SQLITE_OK ||
             sqlite3_exec(db, "COMMIT; VACUUM;", nullptr, nullptr, nullptr) != SQLITE_OK)) {
            error = lastError(db);
        }
    }
    if (sqlite3_close(db) != SQLITE_OK && error.empty()) {
        error = "cannot close " + temporary;
    }
    if (error.empty()) {
        std::error_code ec;
        std::filesystem::rename(temporary, path, ec);
        if (ec) {
            error = "cannot replace " + path + ": " + ec.message();
        }
    }
    if (!error.empty()) {
        std::filesystem::remove(temporary, ignored);
    }
    return error;
}

}  // namespace haoma::lookup
