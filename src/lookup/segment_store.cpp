// SPDX-License-Identifier: MIT
#include "lookup/segment_store.h"

#include <sqlite3.h>

#include <filesystem>
#include <set>

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

bool hasSegmentColumns(sqlite3* db) {
    Statement info(db, "PRAGMA table_info(mobile)");
    if (!info) {
        return false;
    }
    std::set<std::string> columns;
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(info.get())) == SQLITE_ROW) {
        columns.insert(text::toLowerAscii(columnText(info.get(), 1)));
    }
    // A damaged file may fail only here, when its pages are first read.
    return rc == SQLITE_DONE && columns.contains("city") && columns.contains("corp") &&
           columns.contains("mobile");
}

}  // namespace

std::string_view carrierWord(Carrier carrier) {
    switch (carrier) {
        case Carrier::Telecom:
            return "电信";
        case Carrier::Unicom:
            return "联通";
        case Carrier::Mobile:
            return "移动";
        case Carrier::Any:
            break;
    }
    return {};
}

std::optional<Carrier> carrierByName(std::string_view name) {
    const std::string lower = text::toLowerAscii(name);
    if (lower == "any" || lower == "不限") {
        return Carrier::Any;
    }
    if (lower == "telecom" || lower == "电信") {
        return Carrier::Telecom;
    }
    if (lower == "unicom" || lower == "联通") {
        return Carrier::Unicom;
    }
    if (lower == "mobile" || lower == "移动") {
        return Carrier::Mobile;
    }
    return std::nullopt;
}

std::unique_ptr<SegmentStore> SegmentStore::open(const std::string& path) {
    sqlite3* db = nullptr;
    const int rc =
        sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK || !hasSegmentColumns(db)) {
        sqlite3_close(db);
        return nullptr;
    }
    sqlite3_exec(db, "PRAGMA query_only = 1", nullptr, nullptr, nullptr);
    Statement cityTable(db, "SELECT 1 FROM city LIMIT 1");
    const bool hasCityIndex = static_cast<bool>(cityTable);
    return std::unique_ptr<SegmentStore>(new SegmentStore(db, hasCityIndex));
}

SegmentStore::~SegmentStore() {
    sqlite3_close(db_);
}

std::vector<std::string> SegmentStore::segments(std::string_view city, Carrier carrier) const {
    std::string sql = hasCityIndex_ ? "SELECT Mobile FROM mobile WHERE City IN "
                                      "(SELECT City FROM city WHERE City LIKE '%' || ?1 || '%')"
                                    : "SELECT Mobile FROM mobile WHERE City LIKE '%' || ?1 || '%'";
    if (carrier != Carrier::Any) {
        sql += " AND Corp LIKE '%' || ?2 || '%'";
    }
    sql += " ORDER BY Mobile";
    std::vector<std::string> rows;
    Statement query(db_, sql);
    if (!query) {
        return rows;
    }
    sqlite3_bind_text(query.get(), 1, city.data(), static_cast<int>(city.size()), SQLITE_TRANSIENT);
    if (carrier != Carrier::Any) {
        const auto word = carrierWord(carrier);
        sqlite3_bind_text(query.get(), 2, word.data(), static_cast<int>(word.size()),
                          SQLITE_STATIC);
    }
    while (sqlite3_step(query.get()) == SQLITE_ROW) {
        rows.emplace_back(text::trim(columnText(query.get(), 0)));
    }
    return rows;
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

std::vector<std::string> querySegments(const SegmentStore* store, std::string_view cityText,
                                       Carrier carrier) {
    if (store == nullptr) {
        return {};
    }
    return store->segments(text::trim(cityText), carrier);
}

std::vector<std::string> storeLocations(const std::string& programDirectory) {
    return {programDirectory + "/" + kStoreFileName,
            programDirectory + "/../share/haoma/" + kStoreFileName};
}

std::string storePath(const std::string& programDirectory) {
    const auto locations = storeLocations(programDirectory);
    for (const auto& path : locations) {
        std::error_code ignored;
        if (std::filesystem::exists(path, ignored)) {
            return path;
        }
    }
    return locations.front();
}

}  // namespace haoma::lookup
