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
    const auto columns = rc == SQLITE_OK ? segmentColumns(db) : std::nullopt;
    if (!columns || !columns->contains("city") || !columns->contains("corp") ||
        !columns->contains("mobile")) {
        sqlite3_close(db);
        return nullptr;
    }
    sqlite3_exec(db, "PRAGMA query_only = 1", nullptr, nullptr, nullptr);
    Statement cityTable(db, "SELECT 1 FROM city LIMIT 1");
    const bool hasCityIndex = static_cast<bool>(cityTable);
    const bool hasPlaceColumns = columns->contains("province") && columns->contains("areacode");
    return std::unique_ptr<SegmentStore>(new SegmentStore(db, hasCityIndex, hasPlaceColumns));
}

SegmentStore::~SegmentStore() {
    sqlite3_close(db_);
}

std::string SegmentStore::column(const char* name) const {
    return hasPlaceColumns_ ? name : "''";
}

std::vector<std::string> SegmentStore::select(const std::string& condition, std::string_view value,
                                              Carrier carrier) const {
    std::vector<std::string> rows;
    Statement query(db_, "SELECT Mobile FROM mobile WHERE " + condition +
                             carrierCondition(carrier) + " ORDER BY Mobile");
    if (!query) {
        return rows;
    }
    bindText(query.get(), 1, value);
    if (carrier != Carrier::Any) {
        bindText(query.get(), 2, carrierWord(carrier));
    }
    while (sqlite3_step(query.get()) == SQLITE_ROW) {
        rows.emplace_back(text::trim(columnText(query.get(), 0)));
    }
    return rows;
}

std::vector<std::string> SegmentStore::segments(std::string_view city, Carrier carrier) const {
    return select(hasCityIndex_ ? "City IN (SELECT City FROM city WHERE City LIKE '%' || ?1 || '%')"
                                : "City LIKE '%' || ?1 || '%'",
                  city, carrier);
}

std::vector<std::string> SegmentStore::segmentsOfProvince(std::string_view province,
                                                          Carrier carrier) const {
    if (!hasPlaceColumns_ || province.empty()) {
        return {};
    }
    // Compared with instr, not LIKE: a name is a name, not a pattern. Either name may be
    // the longer form of the other (广东省 and 广东, 内蒙古 and 内蒙).
    return select("Province <> '' AND (instr(?1, Province) = 1 OR instr(Province, ?1) = 1)",
                  province, carrier);
}

std::vector<std::string> SegmentStore::segmentsOfAreaCode(std::string_view areaCode,
                                                          Carrier carrier) const {
    if (!hasPlaceColumns_ || areaCode.empty()) {
        return {};
    }
    const std::string code =
        areaCode.starts_with('0') ? std::string(areaCode) : "0" + std::string(areaCode);
    return select("AreaCode = ?1", code, carrier);
}

std::vector<CitySummary> SegmentStore::cities() const {
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
        return cities;
    }
    while (sqlite3_step(query.get()) == SQLITE_ROW) {
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
    return cities;
}

void SegmentStore::visitPlaces(
    const std::function<void(std::string_view, std::string_view, std::string_view, std::string_view,
                             std::string_view)>& visit) const {
    Statement query(db_, "SELECT Mobile, " + column("Province") + ", City, Corp, " +
                             column("AreaCode") + " FROM mobile ORDER BY Mobile");
    if (!query) {
        return;
    }
    const auto field = [&](int column) {
        const auto* bytes = sqlite3_column_text(query.get(), column);
        return bytes == nullptr
                   ? std::string_view()
                   : std::string_view(
                         reinterpret_cast<const char*>(bytes),
                         static_cast<std::size_t>(sqlite3_column_bytes(query.get(), column)));
    };
    while (sqlite3_step(query.get()) == SQLITE_ROW) {
        visit(text::trim(field(0)), field(1), field(2), field(3), field(4));
    }
}

std::vector<SegmentPlace> SegmentStore::places() const {
    std::vector<SegmentPlace> places;
    visitPlaces([&](std::string_view segment, std::string_view province, std::string_view city,
                    std::string_view corp, std::string_view areaCode) {
        places.push_back({std::string(segment), std::string(province), std::string(city),
                          std::string(corp), std::string(areaCode)});
    });
    return places;
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
