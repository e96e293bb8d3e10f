// SPDX-License-Identifier: MIT
// The platform layer on the system it runs on: files replaced whole or not at all (also
// while another program holds the old one open), read-only targets, names in Chinese with
// spaces, the identity of a file under two names, the lock file, the sweep of temporaries.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "lookup/file_output.h"
#include "lookup/segment_store.h"
#include "lookup/store_writer.h"
#include "platform/file_identity.h"
#include "platform/file_lock.h"
#include "platform/paths.h"
#include "platform/temporary_file.h"
#include "temp_dir.h"
#include "test_platform.h"

namespace haoma::platform {
namespace {

using test::TempDir;

std::string contents(const std::string& path) {
    std::ifstream file(toPath(path), std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

std::string write(const std::string& path, std::string_view bytes) {
    std::ofstream(toPath(path), std::ios::binary) << bytes;
    return path;
}

std::size_t filesIn(const std::string& folder) {
    return static_cast<std::size_t>(
        std::distance(std::filesystem::directory_iterator(toPath(folder)),
                      std::filesystem::directory_iterator()));
}

// Writes `text` to `path` through an output of the programs; the error, empty on success.
std::string writeThroughOutput(const std::string& path, std::string_view text) {
    std::ostringstream standardOutput;
    lookup::Output output(standardOutput, path);
    if (!output.ready()) {
        return output.error();
    }
    if (!output.write(text) || !output.commit()) {
        return output.error();
    }
    EXPECT_EQ(standardOutput.str(), "");
    return "";
}

// A folder whose name has Chinese and spaces in it, inside a test folder.
std::string chineseFolder(const TempDir& dir) {
    const std::string folder = joinPath(fromPath(dir.path()), "号码 表");
    std::filesystem::create_directory(toPath(folder));
    return folder;
}

TEST(Replace, AFileOtherProgramsHoldOpenIsReplacedOrLeftWhole) {
    TempDir dir;
    const std::string target = write(joinPath(chineseFolder(dir), "北京 号段.txt"), "old\n");
    {
        std::ifstream held(toPath(target), std::ios::binary);  // as an editor keeps it open
        ASSERT_TRUE(held.is_open());
        const std::string error = writeThroughOutput(target, "new\n");
#ifdef _WIN32
        // Windows keeps a file open without shared deletion in place: a clear error, and
        // the old file whole.
        EXPECT_NE(error.find("cannot replace " + target), std::string::npos) << error;
        EXPECT_NE(error.find("in use by another program"), std::string::npos) << error;
        EXPECT_EQ(contents(target), "old\n");
#else
        // POSIX replaces the name; the holder goes on reading the old file.
        EXPECT_EQ(error, "");
        EXPECT_EQ(contents(target), "new\n");
        std::string line;
        std::getline(held, line);
        EXPECT_EQ(line, "old");
#endif
    }
    EXPECT_EQ(filesIn(fromPath(toPath(target).parent_path())), 1U);  // no temporary left
    EXPECT_EQ(writeThroughOutput(target, "newer\n"), "");
    EXPECT_EQ(contents(target), "newer\n");
}

TEST(Replace, AReadOnlyTargetIsRefusedAndKept) {
    TempDir dir;
    const std::string target = write(joinPath(chineseFolder(dir), "只读.txt"), "kept\n");
    std::filesystem::permissions(toPath(target), std::filesystem::perms::owner_read);
    const std::string error = writeThroughOutput(target, "new\n");
    std::filesystem::permissions(toPath(target), std::filesystem::perms::owner_all);
    if (test::writesAnywhere()) {
        GTEST_SKIP() << "this user writes over read-only files";
    }
    EXPECT_NE(error.find("cannot write " + target + ": Permission denied"), std::string::npos)
        << error;
    EXPECT_EQ(contents(target), "kept\n");
    EXPECT_EQ(filesIn(fromPath(toPath(target).parent_path())), 1U);
}

TEST(Paths, ChineseNamesWithSpacesWorkForStoresOutputsAndIdentities) {
    TempDir dir;
    const std::string folder = chineseFolder(dir);
    const std::string store = joinPath(folder, "我的 号段库.db");
    ASSERT_EQ(lookup::writeStore(store, {{"1380013", "北京", "北京", "中国移动", "010", ""}}, {}),
              "");
    std::string error;
    const auto opened = lookup::SegmentStore::open(store, &error);
    ASSERT_NE(opened, nullptr) << error;
    EXPECT_EQ(opened->rowCount(), 1);

    const std::string output = joinPath(folder, "结果 1.txt");
    EXPECT_EQ(writeThroughOutput(output, "13800130000\n"), "");
    EXPECT_EQ(contents(output), "13800130000\n");
    std::FILE* file = openFile(output, "rb");
    ASSERT_NE(file, nullptr);
    std::fclose(file);

    // One file under two spellings of its name is one file; two files are two.
    const auto plain = identityOf(output);
    const auto roundabout = identityOf(joinPath(folder, "../号码 表/./结果 1.txt"));
    const auto store_ = identityOf(store);
    ASSERT_TRUE(plain && roundabout && store_);
    EXPECT_EQ(*plain, *roundabout);
    EXPECT_TRUE(plain->regular);
    EXPECT_FALSE(*plain == *store_);
    EXPECT_FALSE(identityOf(joinPath(folder, "不在.txt")).has_value());
}

TEST(Lock, ASecondTakerIsToldTheHoldersProcess) {
    TempDir dir;
    const std::string path = joinPath(chineseFolder(dir), ".号段库.db.lock");
    auto first = lockFile(path);
    ASSERT_NE(first.lock, nullptr) << first.cause;
    const auto second = lockFile(path);
    EXPECT_EQ(second.lock, nullptr);
    EXPECT_TRUE(second.busy);
    EXPECT_EQ(second.holder, std::to_string(processId()));
    first.lock.reset();
    EXPECT_FALSE(std::filesystem::exists(toPath(path)));
    EXPECT_NE(lockFile(path).lock, nullptr);
}

TEST(Temporaries, OnlyTheTargetsOwnStaleTemporariesAreRemoved) {
    TempDir dir;
    const long goneId = test::goneProcessId();
    ASSERT_GT(goneId, 0);
    const std::string gone = std::to_string(goneId);
    const std::string stale = dir.write(".mobile.db.part-" + gone, "junk");
    const std::vector<std::string> kept = {
        dir.write(".mobile.db.part-" + std::to_string(processId()), "x"),  // a living process
        dir.write(".backup.part-" + gone, "another program's"),            // another target
        dir.write(".notes.txt.part-" + gone, "another target"),
        dir.write(".mobile.db.part-abc", "keep"),
        dir.write("mobile.db.part-" + gone, "keep"),
    };
    EXPECT_EQ(removeStaleTemporaries(dir.file("mobile.db")), 1);
    EXPECT_FALSE(std::filesystem::exists(stale));
    for (const auto& file : kept) {
        EXPECT_TRUE(std::filesystem::exists(file)) << file;
    }
    // The next write of the store cleans up its own as well.
    std::filesystem::remove(kept[0]);  // the name this process writes under
    dir.write(".mobile.db.part-" + gone, "junk");
    ASSERT_EQ(lookup::writeStore(dir.file("mobile.db"),
                                 {{"1380013", "北京", "北京", "中国移动", "010", ""}}, {}),
              "");
    EXPECT_FALSE(std::filesystem::exists(stale));
    EXPECT_TRUE(std::filesystem::exists(dir.file(".backup.part-" + gone)));
    EXPECT_EQ(temporaryPathFor(joinPath("x", "mobile.db")),
              joinPath("x", ".mobile.db.part-" + std::to_string(processId())));
}

// A link planted under the temporary name redirects nothing, and is not swept away.
TEST(Temporaries, APlantedLinkAtTheTemporaryNameRedirectsNothing) {
    TempDir dir;
    const std::string victim = dir.write("victim.db", "precious");
    std::filesystem::permissions(
        victim, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    const auto before = std::filesystem::status(victim).permissions();
    const std::string target = dir.file("mobile.db");
    std::error_code ec;
    std::filesystem::create_symlink(victim, temporaryPathFor(target), ec);
    if (ec) {
        GTEST_SKIP() << "this system makes no symbolic links here: " << ec.message();
    }
    EXPECT_NE(lookup::writeStore(target, {{"1380013", "北京", "北京", "中国移动", "010", ""}}, {}),
              "");
    EXPECT_FALSE(std::filesystem::exists(target));
    EXPECT_EQ(contents(victim), "precious");
    EXPECT_EQ(std::filesystem::status(victim).permissions(), before);
    int cause = 0;
    EXPECT_FALSE(WritableFile::create(temporaryPathFor(target), 0600, cause));
    EXPECT_EQ(cause, EEXIST);
    const std::string goneLink =
        dir.file(".mobile.db.part-" + std::to_string(test::goneProcessId()));
    std::filesystem::create_symlink(victim, goneLink);
    EXPECT_EQ(removeStaleTemporaries(target), 0);  // a link is never followed nor removed
    EXPECT_TRUE(std::filesystem::is_symlink(goneLink));
    EXPECT_EQ(contents(victim), "precious");
}

}  // namespace
}  // namespace haoma::platform
