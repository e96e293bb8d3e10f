// SPDX-License-Identifier: MIT
#include "lookup/store_writer.h"

#include <sqlite3.h>
#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "lookup/store_checksum.h"
#include "platform/paths.h"
#include "platform/temporary_file.h"

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

// Each segment's place as one array, for looking up many numbers at once without reading
// every row: table place holds the distinct places (id from 1), table segment_place one
// blob of 1,000,000 little-endian 16-bit place ids, one per segment from 1000000 (0: none).
constexpr const char* kPlaceIndex =
    "CREATE TABLE place (id INTEGER PRIMARY KEY, Province TEXT NOT NULL, City TEXT NOT NULL,"
    " Corp TEXT NOT NULL, AreaCode TEXT NOT NULL);"
    "CREATE TABLE segment_place (slots BLOB NOT NULL);";
constexpr std::size_t kSegmentSlots = 1000000;

bool isSegment(const std::string& mobile) {
    return mobile.size() == 7 && mobile[0] == '1' &&
           std::all_of(mobile.begin(), mobile.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// What went wrong, in words: the system's reason where there is one (no such file,
// permission denied, no space left on device), else SQLite's.
std::string lastError(sqlite3* db) {
    if (db == nullptr) {
        return "out of memory";
    }
    if (sqlite3_errcode(db) == SQLITE_FULL) {
        return std::strerror(ENOSPC);  // the system's words, as every other write says it
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
            if (sqlite3_errcode(db) == SQLITE_CONSTRAINT) {
                error += " (" + *row[0] + ")";  // the row that broke the constraint
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

bool writePlaceIndex(sqlite3* db, const std::vector<SegmentRow>& rows, std::string& error,
                     const std::function<bool()>& cancelled) {
    using Place = std::array<const std::string*, 4>;
    const auto less = [](const Place& a, const Place& b) {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                            [](auto* x, auto* y) { return *x < *y; });
    };
    std::map<Place, std::uint16_t, decltype(less)> ids(less);
    std::string slots(2 * kSegmentSlots, '\0');
    std::size_t seen = 0;
    for (const auto& row : rows) {
        if (++seen % 4096 == 0 && cancelled && cancelled()) {
            error = "interrupted";
            return false;
        }
        if (!isSegment(row.mobile)) {
            continue;
        }
        const Place place{&row.province, &row.city, &row.corp, &row.areaCode};
        auto found = ids.find(place);
        if (found == ids.end()) {
            if (ids.size() >= 0xFFFE) {
                return true;  // too many places for the array: readers read the rows
            }
            found = ids.emplace(place, static_cast<std::uint16_t>(ids.size() + 1)).first;
        }
        const auto slot = 2 * (static_cast<std::size_t>(std::stoul(row.mobile)) - kSegmentSlots);
        slots[slot] = static_cast<char>(found->second & 0xFF);
        slots[slot + 1] = static_cast<char>(found->second >> 8);
    }
    std::vector<std::pair<std::uint16_t, Place>> places;
    for (const auto& [place, id] : ids) {
        places.emplace_back(id, place);
    }
    std::sort(places.begin(), places.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::vector<const std::string*>> placeFields;
    std::vector<std::string> idTexts;
    idTexts.reserve(places.size());
    for (const auto& [id, place] : places) {
        idTexts.push_back(std::to_string(id));
    }
    for (std::size_t at = 0; at < places.size(); ++at) {
        const Place& place = places[at].second;
        placeFields.push_back({&idTexts[at], place[0], place[1], place[2], place[3]});
    }
    if (sqlite3_exec(db, kPlaceIndex, nullptr, nullptr, nullptr) != SQLITE_OK) {
        error = lastError(db);
        return false;
    }
    if (!insertAll(db, "INSERT INTO place VALUES (?1, ?2, ?3, ?4, ?5)", placeFields, error,
                   cancelled)) {
        return false;
    }
    sqlite3_stmt* stmt = nullptr;
    const bool ok = sqlite3_prepare_v2(db, "INSERT INTO segment_place VALUES (?1)", -1, &stmt,
                                       nullptr) == SQLITE_OK &&
                    sqlite3_bind_blob(stmt, 1, slots.data(), static_cast<int>(slots.size()),
                                      SQLITE_STATIC) == SQLITE_OK &&
                    sqlite3_step(stmt) == SQLITE_DONE;
    if (!ok) {
        error = lastError(db);
    }
    sqlite3_finalize(stmt);
    return ok;
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
        if (key != kWriterKey) {
            metaFields.push_back({&key, &value});
        }
    }
    // Marks the store as this program's: its checksum is then required at every open.
    const std::string writerKey(kWriterKey);
    const std::string writerName(kWriterName);
    metaFields.push_back({&writerKey, &writerName});
    if (insertAll(db, "INSERT INTO mobile VALUES (?1, ?2, ?3, ?4, ?5, ?6)", rowFields, error,
                  cancelled) &&
        insertAll(db, "INSERT INTO meta VALUES (?1, ?2)", metaFields, error, cancelled) &&
        writePlaceIndex(db, rows, error, cancelled) &&
        (sqlite3_exec(db, kCityIndex, nullptr, nullptr, nullptr) != SQLITE_OK ||
         sqlite3_exec(db, "COMMIT; VACUUM;", nullptr, nullptr, nullptr) != SQLITE_OK)) {
        error = lastError(db);
    }
    return error;
}

}  // namespace

std::string writeStore(const std::string& given, const std::vector<SegmentRow>& rows,
                       const MetaEntries& meta, const std::function<bool()>& cancelled) {
    // A store that is a symbolic link is replaced where the link points.
    const auto followed = platform::followLinks(given);
    if (!followed) {
        return "cannot write " + given + ": " + platform::errorText(ELOOP);
    }
    const std::string& path = *followed;
    const std::string folder = platform::fromPath(platform::toPath(path).parent_path());
    platform::removeStaleTemporaries(path);
    const std::string temporary = platform::temporaryPathFor(path);
    // Created here, where no link is followed and nothing that is there is reused; SQLite
    // then opens that file and no link either.
    int cause = 0;
    auto created = platform::WritableFile::create(temporary, std::nullopt, cause);
    const std::uint64_t createdIndex = created ? created->fileIndex() : 0;
    if (!created || !created->close(cause)) {
        return "cannot create a store in " + (folder.empty() ? "." : folder) + ": " +
               platform::errorText(cause);
    }
    sqlite3* db = nullptr;
    std::string error;
    if (sqlite3_open_v2(temporary.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW,
                        nullptr) != SQLITE_OK) {
        error =
            "cannot create a store in " + (folder.empty() ? "." : folder) + ": " + lastError(db);
    } else {
        if (cancelled) {
            sqlite3_progress_handler(db, 10000, askCancelled,
                                     const_cast<std::function<bool()>*>(&cancelled));
        }
        error = writeRows(db, rows, meta, cancelled);
        if (!error.empty() && error != "interrupted") {
            error = "cannot write " + path + ": " + error;
        }
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
    if (error.empty() && !platform::stillNames(temporary, createdIndex)) {
        // Not ours any more: left where it is.
        return "the temporary store " + temporary + " was replaced while it was written";
    }
    if (error.empty() && !platform::replaceFile(temporary, path, cause)) {
        error = "cannot replace " + path + ": " + platform::errorText(cause);
    }
    if (!error.empty()) {
        std::error_code ignored;
        std::filesystem::remove(platform::toPath(temporary), ignored);
    }
    return error;
}

}  // namespace haoma::lookup
