// SPDX-License-Identifier: MIT
// A damaged store is reported, never read as "no rows"; writes go through temporary files
// that a cancelled or killed write does not leave behind; where the stores are looked for.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "lookup/import_formats.h"
#include "lookup/segment_store.h"
#include "lookup/store_checksum.h"
#include "lookup/store_writer.h"
#include "platform/paths.h"
#include "platform/temporary_file.h"
#include "temp_dir.h"

namespace haoma::lookup {
namespace {

using test::TempDir;

std::vector<SegmentRow> manyRows(int count) {
    std::vector<SegmentRow> rows;
    for (int i = 0; i < count; ++i) {
        rows.push_back({std::to_string(1300000 + i), "广东", i % 2 ? "广州" : "深圳", "中国联通",
                        "020", "510000"});
    }
    return rows;
}

// The page where an index of the store begins.
long indexPage(const std::string& path, const char* index) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT rootpage FROM sqlite_master WHERE name = ?1", -1, &stmt,
                       nullptr);
    sqlite3_bind_text(stmt, 1, index, -1, SQLITE_STATIC);
    const long page = sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_int(stmt, 0) : 0;
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return page;
}

// 4 KB of random bytes over a page of the file.
void damagePage(const std::string& path, long page) {
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    std::string garbage(4096, '\0');
    std::mt19937 rng(static_cast<unsigned>(page));
    for (char& c : garbage) {
        c = static_cast<char>(rng());
    }
    file.seekp((page - 1) * 4096);
    file.write(garbage.data(), static_cast<std::streamsize>(garbage.size()));
}

std::size_t filesIn(const TempDir& dir) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir.path()),
                                                  std::filesystem::directory_iterator()));
}

TEST(StoreSafety, AWrittenStoreCarriesItsChecksum) {
    TempDir dir;
    const std::string path = dir.file("mobile.db");
    ASSERT_EQ(writeStore(path, manyRows(100), {}), "");
    std::string error;
    const auto stored = storedChecksum(path, error);
    ASSERT_TRUE(stored.has_value());
    EXPECT_NE(*stored, 0U);
    EXPECT_EQ(fileChecksum(path, error), stored);
    EXPECT_NE(SegmentStore::open(path), nullptr);
    EXPECT_FALSE(storedChecksum(dir.file("absent.db"), error).has_value());
    EXPECT_EQ(error, "No such file or directory");
}

TEST(StoreSafety, GarbageOverAnIndexPageFailsTheOpen) {
    TempDir dir;
    const std::string path = dir.file("mobile.db");
    ASSERT_EQ(writeStore(path, manyRows(20000), {}), "");
    const long page = indexPage(path, "mobile_by_city");
    ASSERT_GT(page, 1);
    damagePage(path, page);
    std::string error;
    EXPECT_EQ(SegmentStore::open(path, &error), nullptr);
    EXPECT_NE(error.find("damaged"), std::string::npos) << error;
}

std::string contents(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

// Runs SQL on a store, as another program would.
void execute(const std::string& path, const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
}

void overwrite(const std::string& path, long at, std::string_view bytes) {
    std::fstream(path, std::ios::in | std::ios::out | std::ios::binary)
        .seekp(at)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

TEST(StoreSafety, AStoreOfAnotherWriterIsCheckedByItsPagesWhateverItsUserVersion) {
    TempDir dir;
    const std::string path = dir.file("other.db");
    ASSERT_EQ(writeStore(path, manyRows(20000), {}), "");
    // Without the writer's mark the store is another program's, and that program may keep
    // anything in the user version: SQLite's quick check judges it, not a checksum.
    execute(path, "DELETE FROM meta WHERE key = 'writer'; PRAGMA user_version = 12345;");
    std::string error;
    const auto sound = SegmentStore::open(path, &error);
    ASSERT_NE(sound, nullptr) << error;
    EXPECT_EQ(sound->rowCount(), 20000);
    damagePage(path, indexPage(path, "mobile_by_city"));
    EXPECT_EQ(SegmentStore::open(path, &error), nullptr);
    EXPECT_NE(error.find("damaged"), std::string::npos) << error;
}

// Zeroing the checksum together with a changed byte does not pass the change off as
// another writer's store: this program's mark requires the checksum.
TEST(StoreSafety, AStoreThisProgramWroteIsRefusedWithoutItsChecksum) {
    for (const bool changeARecord : {false, true}) {
        TempDir dir;
        const std::string path = dir.file("mobile.db");
        ASSERT_EQ(writeStore(path, manyRows(2000), {}), "");
        const std::string bytes = contents(path);
        if (changeARecord) {
            const auto at = bytes.find("深圳");
            ASSERT_NE(at, std::string::npos);
            overwrite(path, static_cast<long>(at), "汕头");
        }
        overwrite(path, 60, std::string(4, '\0'));
        std::string error;
        EXPECT_EQ(SegmentStore::open(path, &error), nullptr) << changeARecord;
        EXPECT_NE(error.find("checksum is gone"), std::string::npos) << error;
    }
}

// An import checks another writer's store whole: an index that no longer matches its table
// passes the quick check of every open, not the integrity check.
TEST(StoreSafety, AnImportChecksAnotherWritersStoreWhole) {
    TempDir dir;
    const std::string path = dir.file("other.db");
    execute(path,
            "CREATE TABLE mobile (Mobile TEXT, Province TEXT, City TEXT, Corp TEXT);"
            "CREATE INDEX by_city ON mobile (City);"
            "INSERT INTO mobile VALUES ('1300000', '山东', '济南', '联通'),"
            " ('1380013', '广东', '广州', '中国移动'), ('1890000', '上海', '上海', '电信');"
            "PRAGMA user_version = 7;");
    auto imported = readSegmentStore(path);
    EXPECT_EQ(imported.error, "");
    ASSERT_EQ(imported.rows.size(), 3U);
    EXPECT_EQ(imported.rows[0].corp, "中国联通");
    EXPECT_EQ(imported.rows[2].city, "上海");
    execute(path,
            "PRAGMA writable_schema = ON;"
            "UPDATE sqlite_master SET sql = 'CREATE INDEX by_city ON mobile (Corp)'"
            " WHERE name = 'by_city';");
    ASSERT_NE(SegmentStore::open(path), nullptr);
    imported = readSegmentStore(path);
    EXPECT_TRUE(imported.rows.empty());
    EXPECT_NE(imported.error.find(path + " is damaged ("), std::string::npos) << imported.error;
    EXPECT_NE(imported.error.find("by_city"), std::string::npos) << imported.error;
}

TEST(StoreSafety, DamageAfterTheOpenIsAnErrorOfTheQueryNotNoRows) {
    TempDir dir;
    const std::string path = dir.file("mobile.db");
    ASSERT_EQ(writeStore(path, manyRows(20000), {}), "");
    const auto store = SegmentStore::open(path);
    ASSERT_NE(store, nullptr);
    damagePage(path, indexPage(path, "mobile_by_city"));
    const auto answer = store->segments("广州", Carrier::Any);
    EXPECT_TRUE(answer.rows.empty());
    EXPECT_NE(answer.error.find(path), std::string::npos) << answer.error;
    EXPECT_NE(answer.error.find("malformed"), std::string::npos) << answer.error;
}

TEST(StoreSafety, ACancelledWriteKeepsTheOldStoreAndLeavesNoTemporaryFile) {
    TempDir dir;
    const std::string path = dir.file("mobile.db");
    ASSERT_EQ(writeStore(path, manyRows(10), {}), "");
    for (const int askedBeforeYes : {0, 3, 40}) {
        int asked = 0;
        EXPECT_EQ(writeStore(path, manyRows(50000), {}, [&] { return ++asked > askedBeforeYes; }),
                  "interrupted");
        EXPECT_EQ(SegmentStore::open(path)->rowCount(), 10);
        EXPECT_EQ(filesIn(dir), 1U);
    }
}

TEST(StoreLocations, TheUsersStoreFirstThenBesideTheProgramThenInstalled) {
    EXPECT_EQ(platform::xdgDataDirectory("/data", "/home/u"), "/data/haoma");
    EXPECT_EQ(platform::xdgDataDirectory(nullptr, "/home/u"), "/home/u/.local/share/haoma");
    EXPECT_EQ(platform::xdgDataDirectory("relative", "/home/u"), "/home/u/.local/share/haoma");
    EXPECT_EQ(platform::xdgDataDirectory(nullptr, nullptr), "");
    // In the system's own spelling (backslashes on Windows).
    const auto native = [](const char* path) {
        return platform::fromPath(platform::toPath(path).make_preferred());
    };
    EXPECT_EQ(storeLocations("/usr/bin", "/home/u/.local/share/haoma"),
              (std::vector<std::string>{native("/home/u/.local/share/haoma/mobile.db"),
                                        native("/usr/bin/mobile.db"),
                                        native("/usr/bin/../share/haoma/mobile.db")}));
    TempDir dir;
    std::filesystem::create_directories(dir.path() / "bin");
    std::filesystem::create_directories(dir.path() / "user");
    const std::string bin = (dir.path() / "bin").string();
    const std::string user = (dir.path() / "user").string();
    const std::string besideTheProgram = (dir.path() / "bin" / "mobile.db").string();
    const std::string users = (dir.path() / "user" / "mobile.db").string();
    EXPECT_EQ(storePath(bin, user), besideTheProgram);  // none exists: beside the program
    dir.write("bin/mobile.db", "x");
    EXPECT_EQ(storePath(bin, user), besideTheProgram);
    dir.write("user/mobile.db", "x");
    EXPECT_EQ(storePath(bin, user), users);
    EXPECT_EQ(storePath(bin, ""), besideTheProgram);
}

TEST(StoreErrors, MessagesNameTheReasonInWords) {
    TempDir dir;
    std::string error;
    EXPECT_EQ(SegmentStore::open(dir.file("absent.db"), &error), nullptr);
    EXPECT_EQ(error, "no such file");
    EXPECT_EQ(SegmentStore::open(dir.path().string(), &error), nullptr);
    EXPECT_EQ(error, "is a directory");
    EXPECT_EQ(SegmentStore::open(dir.write("text.db", "Mobile,City\n"), &error), nullptr);
    EXPECT_NE(error.find("not a segment store"), std::string::npos) << error;
    const auto written = writeStore(dir.file("no/such/folder/mobile.db"), manyRows(1), {});
    EXPECT_NE(written.find("No such file or directory"), std::string::npos) << written;
}

}  // namespace
}  // namespace haoma::lookup
