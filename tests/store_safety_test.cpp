// SPDX-License-Identifier: MIT
// A damaged store is reported, never read as "no rows"; writes go through temporary files
// that a cancelled or killed write does not leave behind; where the stores are looked for.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "lookup/segment_store.h"
#include "lookup/store_checksum.h"
#include "lookup/store_writer.h"
#include "lookup/temporary_files.h"
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

TEST(StoreSafety, AStoreOfAnotherWriterIsCheckedByItsPages) {
    TempDir dir;
    const std::string path = dir.file("other.db");
    ASSERT_EQ(writeStore(path, manyRows(20000), {}), "");
    // Without the checksum the store counts as another writer's: SQLite's quick check runs.
    std::fstream(path, std::ios::in | std::ios::out | std::ios::binary)
        .seekp(60)
        .write("\0\0\0\0", 4);
    ASSERT_NE(SegmentStore::open(path), nullptr);
    damagePage(path, indexPage(path, "mobile_by_city"));
    std::string error;
    EXPECT_EQ(SegmentStore::open(path, &error), nullptr);
    EXPECT_NE(error.find("damaged"), std::string::npos) << error;
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

std::string contents(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

pid_t goneProcess() {
    const pid_t child = fork();
    if (child == 0) {
        _exit(0);
    }
    waitpid(child, nullptr, 0);
    return child;
}

TEST(StoreSafety, OnlyTheTargetsOwnStaleTemporariesAreRemoved) {
    TempDir dir;
    const std::string gone = std::to_string(goneProcess());
    const std::string stale = dir.write(".mobile.db.part-" + gone, "junk");
    const std::string victim = dir.write("victim.txt", "precious");
    std::filesystem::create_symlink(victim, dir.file(".mobile.db.part-1"));  // not followed
    const std::vector<std::string> kept = {
        dir.write(".mobile.db.part-" + std::to_string(getppid()), "x"),  // a living process
        dir.write(".backup.part-" + gone, "another program's"),          // another target
        dir.write(".notes.txt.part-" + gone, "another target"),
        dir.write(".mobile.db.part-abc", "keep"),
        dir.write("mobile.db.part-" + gone, "keep"),
        dir.file(".mobile.db.part-1"),
    };
    EXPECT_EQ(removeStaleTemporaries(dir.file("mobile.db")), 1);
    EXPECT_FALSE(std::filesystem::exists(stale));
    for (const auto& file : kept) {
        EXPECT_TRUE(std::filesystem::exists(std::filesystem::symlink_status(file))) << file;
    }
    EXPECT_EQ(contents(victim), "precious");
    // The next write of the store cleans up its own as well.
    dir.write(".mobile.db.part-" + gone, "junk");
    ASSERT_EQ(writeStore(dir.file("mobile.db"), manyRows(3), {}), "");
    EXPECT_FALSE(std::filesystem::exists(stale));
    EXPECT_TRUE(std::filesystem::exists(dir.file(".backup.part-" + gone)));
    EXPECT_EQ(temporaryPathFor("/x/y/mobile.db"),
              "/x/y/.mobile.db.part-" + std::to_string(getpid()));
}

// A link planted under the temporary name cannot redirect a write to another file.
TEST(StoreSafety, APlantedLinkAtTheTemporaryNameRedirectsNothing) {
    TempDir dir;
    const std::string victim = dir.write("victim.db", "precious");
    ASSERT_EQ(chmod(victim.c_str(), 0600), 0);
    const std::string target = dir.file("mobile.db");
    std::filesystem::create_symlink(victim, temporaryPathFor(target));
    EXPECT_NE(writeStore(target, manyRows(3), {}), "");
    EXPECT_FALSE(std::filesystem::exists(target));
    EXPECT_EQ(contents(victim), "precious");
    struct stat mode {};
    ASSERT_EQ(stat(victim.c_str(), &mode), 0);
    EXPECT_EQ(mode.st_mode & 07777, 0600U);
    EXPECT_EQ(createTemporary(temporaryPathFor(target)), -1);
    EXPECT_EQ(errno, EEXIST);
}

TEST(StoreLocations, TheUsersStoreFirstThenBesideTheProgramThenInstalled) {
    EXPECT_EQ(userDataDirectory("/data", "/home/u"), "/data/haoma");
    EXPECT_EQ(userDataDirectory(nullptr, "/home/u"), "/home/u/.local/share/haoma");
    EXPECT_EQ(userDataDirectory("relative", "/home/u"), "/home/u/.local/share/haoma");
    EXPECT_EQ(userDataDirectory(nullptr, nullptr), "");
    EXPECT_EQ(
        storeLocations("/usr/bin", "/home/u/.local/share/haoma"),
        (std::vector<std::string>{"/home/u/.local/share/haoma/mobile.db", "/usr/bin/mobile.db",
                                  "/usr/bin/../share/haoma/mobile.db"}));
    TempDir dir;
    std::filesystem::create_directories(dir.path() / "bin");
    std::filesystem::create_directories(dir.path() / "user");
    const std::string bin = (dir.path() / "bin").string();
    const std::string user = (dir.path() / "user").string();
    EXPECT_EQ(storePath(bin, user), bin + "/mobile.db");  // none exists: beside the program
    dir.write("bin/mobile.db", "x");
    EXPECT_EQ(storePath(bin, user), bin + "/mobile.db");
    dir.write("user/mobile.db", "x");
    EXPECT_EQ(storePath(bin, user), user + "/mobile.db");
    EXPECT_EQ(storePath(bin, ""), bin + "/mobile.db");
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
