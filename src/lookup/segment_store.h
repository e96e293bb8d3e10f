// SPDX-License-Identifier: MIT
#pragma once
// The segment store: an SQLite file with table mobile(Mobile, Province, City, Corp) and an
// optional table meta(key, value), opened read-only.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct sqlite3;

namespace haoma::lookup {

enum class Carrier { Any, Telecom, Unicom, Mobile };

// The word a carrier filter looks for in Corp ("电信", "联通", "移动"); empty for Any.
std::string_view carrierWord(Carrier carrier);

// The carrier named by `name`: "any", "不限", "电信", "联通", "移动" (also "telecom",
// "unicom", "mobile"); nothing for any other text.
std::optional<Carrier> carrierByName(std::string_view name);

inline constexpr const char* kStoreFileName = "mobile.db";

class SegmentStore {
  public:
    // Opens the file read-only. Nothing when it is missing, unreadable, not an SQLite
    // database, or has no table mobile with the columns City, Corp and Mobile.
    static std::unique_ptr<SegmentStore> open(const std::string& path);
    ~SegmentStore();
    SegmentStore(const SegmentStore&) = delete;
    SegmentStore& operator=(const SegmentStore&) = delete;

    // The Mobile values, blanks trimmed, of the rows whose City contains `city` (an SQL
    // LIKE pattern between two %, so % and _ act as wildcards) and whose Corp contains the
    // carrier's word, ordered by Mobile. A NULL or unreadable value gives an empty text.
    // Runs exactly one read-only statement with the city bound as a parameter.
    std::vector<std::string> segments(std::string_view city, Carrier carrier) const;

    // The entries of table meta (data source, version, build date), empty when absent.
    std::vector<std::pair<std::string, std::string>> meta() const;
    std::int64_t rowCount() const;

  private:
    SegmentStore(sqlite3* db, bool hasCityIndex) : db_(db), hasCityIndex_(hasCityIndex) {}
    sqlite3* db_;
    bool hasCityIndex_;  // the table city of the distinct names (stores this program writes)
};

// The query as the window runs it: the city text trimmed of blanks and ideographic spaces,
// then the store's segments; no rows when there is no store.
std::vector<std::string> querySegments(const SegmentStore* store, std::string_view cityText,
                                       Carrier carrier);

// Where a program in `programDirectory` looks for its store, in order: beside the program,
// then in the installed data folder (../share/haoma).
std::vector<std::string> storeLocations(const std::string& programDirectory);

// The store a program in `programDirectory` uses: the first of its locations that exists
// (a damaged one is not passed over), else the first location.
std::string storePath(const std::string& programDirectory);

}  // namespace haoma::lookup
