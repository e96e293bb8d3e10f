// SPDX-License-Identifier: MIT
#pragma once
// The segment store: an SQLite file with table mobile(Mobile, Province, City, Corp, AreaCode,
// Zip) and an optional table meta(key, value), opened read-only. Stores of other writers
// need only Mobile, City and Corp; the other columns then read as empty.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "lookup/carrier_names.h"
#include "lookup/store_writer.h"

struct sqlite3;

namespace haoma::lookup {

inline constexpr const char* kStoreFileName = "mobile.db";

// The answer of a query: the segments, or why the store could not give them.
struct SegmentRows {
    std::vector<std::string> rows;
    std::string error;  // non-empty: the store failed (damaged, unreadable); rows are empty
};

// A city with its segment counts: every carrier, and the three the carrier filter knows
// (a virtual operator counts with its host network).
struct CitySummary {
    std::string province;
    std::string city;
    std::string areaCode;  // the one most of its segments have
    std::int64_t segments = 0;
    std::int64_t mobile = 0;
    std::int64_t unicom = 0;
    std::int64_t telecom = 0;
};

class SegmentStore {
  public:
    // Opens the file read-only and checks it: a store this program wrote (its meta entry
    // kWriterKey says so) by the checksum it must carry in its header, any other by SQLite's
    // quick check. Nothing, with the reason in `error`, when it
    // is missing, unreadable, not an SQLite database, damaged, or has no table mobile with
    // the columns City, Corp and Mobile.
    static std::unique_ptr<SegmentStore> open(const std::string& path,
                                              std::string* error = nullptr);
    ~SegmentStore();
    SegmentStore(const SegmentStore&) = delete;
    SegmentStore& operator=(const SegmentStore&) = delete;

    // The Mobile values, blanks trimmed, of the rows whose City contains `city` (an SQL
    // LIKE pattern between two %, so % and _ act as wildcards) and whose Corp contains the
    // carrier's word, ordered by Mobile. A NULL value gives an empty text. Runs exactly one
    // read-only statement with the city bound as a parameter; an SQLite error while it runs
    // is an error of the answer, never fewer rows.
    SegmentRows segments(std::string_view city, Carrier carrier) const;

    // The segments of the city named exactly `city` (values of other writers trimmed), with
    // the carrier filter, ordered by Mobile.
    SegmentRows segmentsOfCity(std::string_view city, Carrier carrier) const;

    // The distinct city names of the store, sorted; `error` says why they could not be read.
    std::vector<std::string> cityNames(std::string& error) const;

    // The segments of the province named `province`, where either name may begin the other
    // (广东 and 广东省, 内蒙 and 内蒙古), with the carrier filter, ordered by Mobile.
    SegmentRows segmentsOfProvince(std::string_view province, Carrier carrier) const;

    // The segments whose area code is `areaCode` (0755 or 755), with the carrier filter,
    // ordered by Mobile.
    SegmentRows segmentsOfAreaCode(std::string_view areaCode, Carrier carrier) const;

    // Every city with its counts, ordered by province and city; `error` says why it failed.
    std::vector<CitySummary> cities(std::string& error) const;

    // Calls `visit` with each row's segment, province, city, carrier and area code, in
    // the order of Mobile; the views live until the call returns. The empty text, or why
    // the rows could not all be read.
    std::string visitPlaces(
        const std::function<void(std::string_view, std::string_view, std::string_view,
                                 std::string_view, std::string_view)>& visit) const;

    // Every row as it is stored (a column the store lacks reads as empty), in the order of
    // Mobile. The empty text, or why the rows could not all be read.
    std::string visitRows(const std::function<void(SegmentRow&&)>& visit) const;

    // SQLite's full integrity check (slow: every page, every index entry). The empty text
    // when sound, else what is wrong, naming the file.
    std::string integrityCheck() const;

    // The place array this program writes beside the rows: the blob of 16-bit place ids
    // by segment, and the places by id. Nothing when the store has none, or when nothing
    // vouches that it agrees with the rows: only a store this program wrote, whose checksum
    // held at open, has an array to trust (another program may change the rows alone).
    std::optional<std::string> placeSlots() const;
    std::string visitPlaceTable(
        const std::function<void(std::int64_t, std::string_view, std::string_view, std::string_view,
                                 std::string_view)>& visit) const;

    const std::string& path() const { return path_; }

    // The entries of table meta (data source, version, build date), empty when absent.
    std::vector<std::pair<std::string, std::string>> meta() const;
    std::int64_t rowCount() const;

  private:
    SegmentStore(sqlite3* db, std::string path, bool hasCityIndex, bool hasPlaceColumns,
                 bool hasZip, bool provenWhole)
        : db_(db),
          path_(std::move(path)),
          hasCityIndex_(hasCityIndex),
          hasPlaceColumns_(hasPlaceColumns),
          hasZip_(hasZip),
          provenWhole_(provenWhole) {}
    // The Mobile values of the rows `condition` selects (its parameter ?1 bound to
    // `value`), with the carrier filter, ordered by Mobile.
    SegmentRows select(const std::string& condition, std::string_view value, Carrier carrier) const;
    // The reason of the last SQLite error, naming the file.
    std::string failure() const;
    std::string column(const char* name) const;

    sqlite3* db_;
    std::string path_;
    bool hasCityIndex_;     // the table city of the distinct names (stores this program writes)
    bool hasPlaceColumns_;  // Province and AreaCode
    bool hasZip_;
    bool provenWhole_;  // this program wrote it, and its checksum held
};

// The query as the window runs it: the city text trimmed of blanks and ideographic spaces,
// then the store's segments; no rows (and no error) when there is no store.
SegmentRows querySegments(const SegmentStore* store, std::string_view cityText, Carrier carrier);

// True when a city text, trimmed, is nothing but the wildcards % and _ (or nothing): its
// query lists every segment, or nearly.
bool matchesEverything(std::string_view cityText);

// Where a program in `programDirectory` looks for its store, in order: the user's imported
// store in `userDirectory` (skipped when empty), beside the program, then in the installed
// data folder (../share/haoma).
std::vector<std::string> storeLocations(const std::string& programDirectory,
                                        const std::string& userDirectory);

// The store a program uses: the first of its locations that exists (a damaged one is not
// passed over), else the one beside the program.
std::string storePath(const std::string& programDirectory, const std::string& userDirectory);

}  // namespace haoma::lookup
