// SPDX-License-Identifier: MIT
#include "lookup/segment_store.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <set>

#include "lookup/store_checksum.h"
#include "lookup/store_writer.h"
#include "platform/paths.h"
#include "platform/temporary_file.h"
#include "text/text.h"

namespace haoma::lookup {
namespace {

// Finalizes a statement when it goes out of scope.
class Statement {
  public:
    Statement(sqlite3* db, const std::string& sql) {
        if (sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &stmt_, nullptr) !=
            SQLITE_OK) {
            stmt_ = nullptr;
        }
    }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    sqlite3_stmt* get() const { return stmt_; }
    explicit operator bool() const { return stmt_ != nullptr; }

  private:
    sqlite3_stmt* stmt_ = nullptr;
};

std::string columnText(sqlite3_stmt* stmt, int column) {
    const auto* bytes = sqlite3_column_text(stmt, column);
    if (bytes == nullptr) {
        return {};
    }
    return {reinterpret_cast<const char*>(bytes),
            static_cast<std::size_t>(sqlite3_column_bytes(stmt, column))};
}

// The lower-case column names of table mobile; nothing when they cannot be read.
std::optional<std::set<std::string>> segmentColumns(sqlite3* db) {
    Statement info(db, "PRAGMA table_info(mobile)");
    if (!info) {
        return std::nullopt;
    }
    std::set<std::string> columns;
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(info.get())) == SQLITE_ROW) {
        columns.insert(text::toLowerAscii(columnText(info.get(), 1)));
    }
    // A damaged file may fail only here, when its pages are first read.
    if (rc != SQLITE_DONE) {
        return std::nullopt;
    }
    return columns;
}

void bindText(sqlite3_stmt* stmt, int index, std::string_view value) {
    sqlite3_bind_text(stmt, index, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
}

// The condition of the carrier filter on parameter ?2, empty for Any.
std::string carrierCondition(Carrier carrier) {
    return carrier == Carrier::Any ? "" : " AND Corp LIKE '%' || ?2 || '%'";
}

}  // namespace

namespace {

// SQLite's own check of the file's pages ("quick_check") or of everything in it
// ("integrity_check"). The empty text when it finds nothing wrong.
std::string pragmaCheck(sqlite3* db, const char* pragma) {
    Statement check(db, std::string("PRAGMA ") + pragma + "(1)");
    if (!check || sqlite3_step(check.get()) != SQLITE_ROW) {
        return std::string("damaged (") + sqlite3_errmsg(db) + ")";
    }
    const std::string verdict = columnText(check.get(), 0);
    return verdict == "ok" ? "" : "damaged (" + verdict + ")";
}

// Whether the store's meta table says this program wrote it.
bool writtenByThisProgram(sqlite3* db) {
    Statement query(db, "SELECT value FROM meta WHERE key = ?1");
    if (!query) {
        return false;
    }
    bindText(query.get(), 1, kWriterKey);
    return sqlite3_step(query.get()) == SQLITE_ROW && columnText(query.get(), 0) == kWriterName;
}

// The store is checked before it is used: a store this program wrote by the checksum it
// must carry (a zeroed one is damage too), any other by SQLite's quick check of its pages,
// whatever that writer keeps in the header's user version. The empty text when sound.
std::string checkStore(sqlite3* db, const std::string& path) {
    if (writtenByThisProgram(db)) {
        std::string error;
        const auto stored = storedChecksum(path, error);
        if (!stored) {
            return error;
        }
        if (*stored == 0) {
            return "damaged (this program wrote it, but its checksum is gone)";
        }
        const auto actual = fileChecksum(path, error);
        if (!actual) {
            return error;
        }
        return *actual == *stored ? "" : "damaged (its checksum does not match its content)";
    }
    return pragmaCheck(db, "quick_check");
}

// A text column of the current row; valid until the next step.
std::string_view columnView(sqlite3_stmt* statement, int column) {
    const auto* bytes = sqlite3_column_text(statement, column);
    return bytes == nullptr
               ? std::string_view()
               : std::string_view(
                     reinterpret_cast<const char*>(bytes),
                     static_cast<std::size_t>(sqlite3_column_bytes(statement, column)));
}

}  // namespace

std::unique_ptr<SegmentStore> SegmentStore::open(const std::string& path, std::string* error) {
    std::string reason;
    std::error_code ec;
    sqlite3* db = nullptr;
    int cause = 0;
    if (!std::filesystem::exists(platform::toPath(path), ec)) {
        reason = "no such file";
    } else if (std::filesystem::is_directory(platform::toPath(path), ec)) {
        reason = "is a directory";
    } else if (!std::filesystem::is_regular_file(platform::toPath(path), ec)) {
        reason = "not a regular file";  // a FIFO or a device: opening it could hang
    } else if (!platform::mayRead(path, cause)) {
        reason = platform::errorText(cause);  // SQLite would only say it cannot open it
    } else if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX,
                               nullptr) != SQLITE_OK) {
        reason = sqlite3_errmsg(db);
    } else if (const auto columns = segmentColumns(db); !columns) {
        reason = std::string("not a segment store (") + sqlite3_errmsg(db) + ")";
    } else if (!columns->contains("city") || !columns->contains("corp") ||
               !columns->contains("mobile")) {
        reason = "not a segment store (no table mobile with Mobile, City and Corp)";
    } else if (reason = checkStore(db, path); reason.empty()) {
        sqlite3_exec(db, "PRAGMA query_only = 1", nullptr, nullptr, nullptr);
        Statement cityTable(db, "SELECT 1 FROM city LIMIT 1");
        const bool hasCityIndex = static_cast<bool>(cityTable);
        const bool hasPlaceColumns = columns->contains("province") && columns->contains("areacode");
        return std::unique_ptr<SegmentStore>(
            new SegmentStore(db, path, hasCityIndex, hasPlaceColumns, columns->contains("zip"),
                             writtenByThisProgram(db)));
    }
    sqlite3_close(db);
    if (error != nullptr) {
        *error = reason;
    }
    return nullptr;
}

SegmentStore::~SegmentStore() {
    sqlite3_close(db_);
}

std::string SegmentStore::column(const char* name) const {
    return hasPlaceColumns_ ? name : "''";
}

std::string SegmentStore::failure() const {
    return "the segment store " + path_ + " cannot be read: " + sqlite3_errmsg(db_);
}

SegmentRows SegmentStore::select(const std::string& condition, std::string_view value,
                                 Carrier carrier) const {
    SegmentRows answer;
    Statement query(db_, "SELECT Mobile FROM mobile WHERE " + condition +
                             carrierCondition(carrier) + " ORDER BY Mobile");
    if (!query) {
        answer.error = failure();
        return answer;
    }
    bindText(query.get(), 1, value);
    if (carrier != Carrier::Any) {
        bindText(query.get(), 2, carrierWord(carrier));
    }
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(query.get())) == SQLITE_ROW) {
        answer.rows.emplace_back(text::trim(columnText(query.get(), 0)));
    }
    if (rc != SQLITE_DONE) {
        answer.error = failure();
        answer.rows.clear();
    }
    return answer;
}

SegmentRows SegmentStore::segments(std::string_view city, Carrier carrier) const {
    return select(hasCityIndex_ ? "City IN (SELECT City FROM city WHERE City LIKE '%' || ?1 || '%')"
                                : "City LIKE '%' || ?1 || '%'",
                  city, carrier);
}

SegmentRows SegmentStore::segmentsOfCity(std::string_view city, Carrier carrier) const {
    // Another writer's values may carry blanks, which the names it gives are trimmed of.
    return select(hasCityIndex_ ? "City = ?1" : "trim(City) = ?1", city, carrier);
}

std::vector<std::string> SegmentStore::cityNames(std::string& error) const {
    std::vector<std::string> names;
    Statement query(db_, hasCityIndex_ ? "SELECT City FROM city ORDER BY City"
                                       : "SELECT DISTINCT trim(City) FROM mobile ORDER BY 1");
    if (!query) {
        error = failure();
        return names;
    }
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(query.get())) == SQLITE_ROW) {
        names.push_back(columnText(query.get(), 0));
    }
    if (rc != SQLITE_DONE) {
        error = failure();
        names.clear();
    }
    return names;
}

SegmentRows SegmentStore::segmentsOfProvince(std::string_view province, Carrier carrier) const {
    if (!hasPlaceColumns_ || province.empty()) {
        return {};
    }
    // Compared with instr, not LIKE: a name is a name, not a pattern. Either name may be
    // the longer form of the other (广东省 and 广东, 内蒙古 and 内蒙).
    return select("Province <> '' AND (instr(?1, Province) = 1 OR instr(Province, ?1) = 1)",
                  province, carrier);
}

SegmentRows SegmentStore::segmentsOfAreaCode(std::string_view areaCode, Carrier carrier) const {
    if (!hasPlaceColumns_ || areaCode.empty()) {
        return {};
    }
    const std::string code =
        areaCode.starts_with('0') ? std::string(areaCode) : "0" + std::string(areaCode);
    return select("AreaCode = ?1", code, carrier);
}

std::vector<CitySummary> SegmentStore::cities(std::string& error) const {
    std::vector<CitySummary> cities;
    Statement query(
        db_, "SELECT " + column("Province") +
                 ", City, count(*),"
                 " sum(Corp LIKE '%移动%'), sum(Corp LIKE '%联通%'), sum(Corp LIKE '%电信%'),"
                 " (SELECT " +
                 column("AreaCode") +
                 " FROM mobile AS m WHERE m.City = mobile.City"
                 " GROUP BY 1 ORDER BY count(*) DESC, 1 LIMIT 1)"
                 " FROM mobile GROUP BY 1, 2 ORDER BY 1, 2");
    if (!query) {
        error = failure();
        return cities;
    }
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(query.get())) == SQLITE_ROW) {
        CitySummary city;
        city.province = columnText(query.get(), 0);
        city.city = columnText(query.get(), 1);
        city.segments = sqlite3_column_int64(query.get(), 2);
        city.mobile = sqlite3_column_int64(query.get(), 3);
        city.unicom = sqlite3_column_int64(query.get(), 4);
        city.telecom = sqlite3_column_int64(query.get(), 5);
        city.areaCode = columnText(query.get(), 6);
        cities.push_back(std::move(city));
    }
    if (rc != SQLITE_DONE) {
        error = failure();
        cities.clear();
    }
    return cities;
}

std::string SegmentStore::visitPlaces(
    const std::function<void(std::string_view, std::string_view, std::string_view, std::string_view,
                             std::string_view)>& visit) const {
    Statement query(db_, "SELECT Mobile, " + column("Province") + ", City, Corp, " +
                             column("AreaCode") + " FROM mobile ORDER BY Mobile");
    if (!query) {
        return failure();
    }
    const auto field = [&](int column) { return columnView(query.get(), column); };
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(query.get())) == SQLITE_ROW) {
        visit(text::trim(field(0)), field(1), field(2), field(3), field(4));
    }
    return rc == SQLITE_DONE ? "" : failure();
}

std::string SegmentStore::integrityCheck() const {
    const std::string verdict = pragmaCheck(db_, "integrity_check");
    return verdict.empty() ? "" : "the segment store " + path_ + " is " + verdict;
}

std::string SegmentStore::visitRows(const std::function<void(SegmentRow&&)>& visit) const {
    Statement query(db_, "SELECT Mobile, " + column("Province") + ", City, Corp, " +
                             column("AreaCode") + ", " + (hasZip_ ? "Zip" : "''") +
                             " FROM mobile ORDER BY Mobile");
    if (!query) {
        return failure();
    }
    const auto field = [&](int column) { return columnText(query.get(), column); };
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(query.get())) == SQLITE_ROW) {
        visit(SegmentRow{field(0), field(1), field(2), field(3), field(4), field(5)});
    }
    return rc == SQLITE_DONE ? "" : failure();
}

std::optional<std::string> SegmentStore::placeSlots() const {
    if (!provenWhole_) {
        return std::nullopt;
    }
    Statement query(db_, "SELECT slots FROM segment_place LIMIT 1");
    if (!query || sqlite3_step(query.get()) != SQLITE_ROW) {
        return std::nullopt;
    }
    const auto* bytes = static_cast<const char*>(sqlite3_column_blob(query.get(), 0));
    const int size = sqlite3_column_bytes(query.get(), 0);
    if (bytes == nullptr) {
        return std::nullopt;
    }
    return std::string(bytes, static_cast<std::size_t>(size));
}

std::string SegmentStore::visitPlaceTable(
    const std::function<void(std::int64_t, std::string_view, std::string_view, std::string_view,
                             std::string_view)>& visit) const {
    Statement query(db_, "SELECT id, Province, City, Corp, AreaCode FROM place ORDER BY id");
    if (!query) {
        return failure();
    }
    const auto field = [&](int column) { return columnView(query.get(), column); };
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(query.get())) == SQLITE_ROW) {
        visit(sqlite3_column_int64(query.get(), 0), field(1), field(2), field(3), field(4));
    }
    return rc == SQLITE_DONE ? "" : failure();
}

std::vector<std::pair<std::string, std::string>> SegmentStore::meta() const {
    std::vector<std::pair<std::string, std::string>> entries;
    Statement query(db_, "SELECT key, value FROM meta ORDER BY key");
    if (!query) {
        return entries;
    }
    while (sqlite3_step(query.get()) == SQLITE_ROW) {
        entries.emplace_back(columnText(query.get(), 0), columnText(query.get(), 1));
    }
    return entries;
}

std::int64_t SegmentStore::rowCount() const {
    Statement query(db_, "SELECT count(*) FROM mobile");
    if (!query || sqlite3_step(query.get()) != SQLITE_ROW) {
        return 0;
    }
    return sqlite3_column_int64(query.get(), 0);
}

SegmentRows querySegments(const SegmentStore* store, std::string_view cityText, Carrier carrier) {
    if (store == nullptr) {
        return {};
    }
    return store->segments(text::trim(cityText), carrier);
}

bool matchesEverything(std::string_view cityText) {
    const auto city = text::trim(cityText);
    return city.find_first_not_of("%_") == std::string_view::npos;
}

std::vector<std::string> storeLocations(const std::string& programDirectory,
                                        const std::string& userDirectory) {
    std::vector<std::string> locations;
    if (!userDirectory.empty()) {
        locations.push_back(platform::joinPath(userDirectory, kStoreFileName));
    }
    locations.push_back(platform::joinPath(programDirectory, kStoreFileName));
    locations.push_back(
        platform::joinPath(programDirectory, std::string("../share/haoma/") + kStoreFileName));
    return locations;
}

std::string storePath(const std::string& programDirectory, const std::string& userDirectory) {
    for (const auto& path : storeLocations(programDirectory, userDirectory)) {
        std::error_code ignored;
        if (std::filesystem::exists(platform::toPath(path), ignored)) {
            return path;
        }
    }
    return platform::joinPath(programDirectory, kStoreFileName);
}

}  // namespace haoma::lookup
