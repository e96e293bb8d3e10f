// SPDX-License-Identifier: MIT
#include "lookup/store_writer.h"

#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "lookup/store_checksum.h"
#include "lookup/temporary_files.h"

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

// What went wrong, in words: the system's reason where there is one (no such file,
// permission denied, no space left on device), else SQLite's.
std::string lastError(sqlite3* db) {
    if (db == nullptr) {
        return "out of memory";
    }
    if (sqlite3_errcode(db) == SQLITE_FULL) {
        return "disk full";
    }
    if (sqlite3_errcode(db) == SQLITE_INTERRUPT) {
        return "interrupted";
    }
    if (const int system = sqlite3_system_errno(db); system != 0) {
        return std::strerror(system);
    }
    return sqlite3_errmsg(db);
}

bool insertAll(sqlite3* db, const char* sql,
               const std::vector<std::vector<const std::string*>>& rows, std::string& error,
               const std::function<bool()>& cancelled) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK) {
        error = lastError(db);
        return false;
    }
    bool ok = true;
    for (std::size_t at = 0; at < rows.size(); ++at) {
        const auto& row = rows[at];
        if (at % 4096 == 0 && cancelled && cancelled()) {
            error = "interrupted";
            ok = false;
            break;
        }
        for (std::size_t i = 0; i < row.size(); ++i) {
            sqlite3_bind_text(stmt, static_cast<int>(i + 1), row[i]->data(),
                              static_cast<int>(row[i]->size()), SQLITE_STATIC);
        }
        if (sqlite3_step(stmt) != SQLITE_DONE) {
            error = lastError(db);
            if (sqlite3_errcode(db) != SQLITE_INTERRUPT) {
                error += " (" + *row[0] + ")";
            }
            ok = false;
            break;
        }
        sqlite3_reset(stmt);
    }
    sqlite3_finalize(stmt);
    return ok;
}

// SQLite's progress callback: a non-zero answer interrupts the statement in progress.
int askCancelled(void* cancelled) {
    return (*static_cast<const std::function<bool()>*>(cancelled))() ? 1 : 0;
}

std::string writeRows(sqlite3* db, const std::vector<SegmentRow>& rows, const MetaEntries& meta,
                      const std::function<bool()>& cancelled) {
    std::string error;
    if (sqlite3_exec(db, "PRAGMA journal_mode=OFF; BEGIN;", nullptr, nullptr, nullptr) !=
            SQLITE_OK ||
        sqlite3_exec(db, kSchema, nullptr, nullptr, nullptr) != SQLITE_OK) {
        return lastError(db);
    }
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
    if (insertAll(db, "INSERT INTO mobile VALUES (?1, ?2, ?3, ?4, ?5, ?6)", rowFields, error,
                  cancelled) &&
        insertAll(db, "INSERT INTO meta VALUES (?1, ?2)", metaFields, error, cancelled) &&
        (sqlite3_exec(db, kCityIndex, nullptr, nullptr, nullptr) != SQLITE_OK ||
         sqlite3_exec(db, "COMMIT; VACUUM;", nullptr, nullptr, nullptr) != SQLITE_OK)) {
        error = lastError(db);
    }
    return error;
}

}  // namespace

std::string writeStore(const std::string& path, const std::vector<SegmentRow>& rows,
                       const MetaEntries& meta, const std::function<bool()>& cancelled) {
    const std::string folder = std::filesystem::path(path).parent_path().string();
    removeStaleTemporaries(folder);
    const std::string temporary = temporaryPathFor(path);
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    sqlite3* db = nullptr;
    std::string error;
    if (sqlite3_open_v2(temporary.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) != SQLITE_OK) {
        error =
            "cannot create a store in " + (folder.empty() ? "." : folder) + ": " + lastError(db);
    } else {
        if (cancelled) {
            sqlite3_progress_handler(db, 10000, askCancelled,
                                     const_cast<std::function<bool()>*>(&cancelled));
        }
        error = writeRows(db, rows, meta, cancelled);
    }
    if (sqlite3_close(db) != SQLITE_OK && error.empty()) {
        error = "cannot close " + temporary;
    }
    if (error.empty()) {
        error = stampChecksum(temporary);
    }
    if (error.empty() && cancelled && cancelled()) {
        error = "interrupted";
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
