// SPDX-License-Identifier: MIT
// Nothing lost, nothing silent: output files, streamed input, imports and damaged stores.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "lookup/segment_store.h"

#include "cli_child.h"
#include "cli_fixture.h"

#ifndef HAOMA_CLI_PATH
#error "HAOMA_CLI_PATH names the built haoma-cli"
#endif

namespace haoma::cli {
namespace {

using test::TempDir;

// -o through a folder others may write to: a link planted at the temporary name makes the
// run fail instead of overwriting (or widening the mode of) the file it points at, and the
// sweep of stale temporaries leaves other programs' files alone.
// Where -o and --db lead: an empty name is a usage error, a loop of links an error (the
// links stay), a store that is a link is written where it points.
TEST_F(CliTest, OutputAndStorePathsThatAreNotPlainFiles) {
    EXPECT_EQ(cli({"all", "1380013", "-o", ""}).status, 2);
    const std::string a = dir.file("a.txt");
    const std::string b = dir.file("b.txt");
    std::filesystem::create_symlink(b, a);
    std::filesystem::create_symlink(a, b);
    const auto loop = cli({"all", "1380013", "--limit", "1", "-o", a});
    EXPECT_EQ(loop.status, 1);
    EXPECT_NE(loop.err.find("Too many levels of symbolic links"), std::string::npos) << loop.err;
    EXPECT_TRUE(std::filesystem::is_symlink(a));
    EXPECT_TRUE(std::filesystem::is_symlink(b));

    const std::string real = dir.file("real.db");
    const std::string link = dir.file("link.db");
    std::filesystem::create_symlink(real, link);
    const std::string csv = dir.write("rows.csv", "1300000,山东,济南,中国联通\n");
    ASSERT_EQ(cli({"import", csv, "--db", link}).status, 0);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    const auto store = lookup::SegmentStore::open(real);
    ASSERT_NE(store, nullptr);
    EXPECT_EQ(store->rowCount(), 1);
}

// Imports are bounded: only files or standard input are read (a FIFO or a device could
// hang or never end), and a field no real place has rejects the file, naming where.
TEST_F(CliTest, ImportsReadOnlyFilesOfRealisticSize) {
    const std::string fifo = dir.file("pipe");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string longCity(100, 'x');
    const struct {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{"import", fifo, "--db", dir.file("a.db")}, "not a regular file"},
        {{"import", "/dev/zero", "--db", dir.file("a.db")}, "not a regular file"},
        {{"query", "北京", "--db", fifo}, "not a regular file"},
        {{"import",
          dir.write("long.csv",
                    "1300000,山东,济南,中国联通\n1300001,山东," + longCity + ",中国联通\n"),
          "--db", dir.file("a.db")},
         "line 2: a field of 100 bytes (at most 64)"},
    };
    for (const auto& c : cases) {
        const auto r = cli(c.args);
        EXPECT_EQ(r.status, 1) << c.args[1];
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_FALSE(std::filesystem::exists(dir.file("a.db")));
    }
}

// A file the user may not write is refused, as cp does without -f, not replaced.
TEST(CliProcess, AReadOnlyFileOfAnotherUserIsNotReplaced) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "needs root to act as nobody";
    }
    test::TempDir dir;
    ASSERT_EQ(chmod(dir.path().c_str(), 0777), 0);
    const std::string kept = dir.write("kept.txt", "mine\n");
    ASSERT_EQ(chmod(kept.c_str(), 0444), 0);
    const pid_t child = fork();
    if (child == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0) {
            _exit(126);
        }
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 2);
        execl(HAOMA_CLI_PATH, HAOMA_CLI_PATH, "all", "1380013", "--limit", "1", "-o", kept.c_str(),
              static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    std::ifstream file(kept);
    std::string line;
    std::getline(file, line);
    EXPECT_EQ(line, "mine");
}

TEST_F(CliTest, OutputCannotBeRedirectedAndSweepsOnlyItsOwnTemporaries) {
    const std::string victim = dir.write("victim.txt", "secret\n");
    ASSERT_EQ(chmod(victim.c_str(), 0600), 0);
    const std::string report = dir.file("report.txt");
    const std::string planted = dir.file(".report.txt.part-" + std::to_string(getpid()));
    std::filesystem::create_symlink(victim, planted);
    const auto r = cli({"all", "1380013", "--limit", "2", "-o", report});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("cannot write " + report + ": File exists"), std::string::npos) << r.err;
    EXPECT_EQ(slurp(victim), "secret\n");
    struct stat mode {};
    ASSERT_EQ(stat(victim.c_str(), &mode), 0);
    EXPECT_EQ(mode.st_mode & 07777, 0600U);
    EXPECT_FALSE(std::filesystem::exists(report));
    std::filesystem::remove(planted);

    const std::string backup = dir.write(".backup.part-999999", "data");
    const std::string notes = dir.write(".notes.txt.part-77", "data");
    ASSERT_EQ(cli({"all", "1380013", "--limit", "1", "-o", report}).status, 0);
    EXPECT_EQ(slurp(report), "13800130000\n");
    EXPECT_TRUE(std::filesystem::exists(backup));
    EXPECT_TRUE(std::filesystem::exists(notes));
}

TEST_F(CliTest, OutputFileIsRenamedIntoPlaceWhenComplete) {
    const std::string target = dir.write("numbers.txt", "old\n");
    const auto r = cli({"all", "1380013", "--limit", "3", "-o", target});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(slurp(target), "13800130000\n13800130001\n13800130002\n");
    // An interrupted run leaves the old file and no temporary beside it.
    volatile int stop = SIGINT;
    environment.interrupted = &stop;
    EXPECT_EQ(cli({"all", "1380013", "-o", target}).status, 130);
    stop = SIGTERM;
    EXPECT_EQ(cli({"all", "1380013", "-o", target}).status, 143);
    EXPECT_EQ(slurp(target), "13800130000\n13800130001\n13800130002\n");
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        ++files;
    }
    EXPECT_EQ(files, 2U);  // mobile.db and numbers.txt
}

TEST_F(CliTest, HostileInputDoesNotCrash) {
    std::string input = "1380013\n";
    input += std::string(1 << 20, '7') + "\n";      // a very long line
    input += std::string("\x00\x01\xff\xfe\n", 5);  // binary
    input += "\xe5\x8c\n";                          // a cut character
    input += "1390000\n";
    const auto r = cli({"all", "--limit", "10001"}, input);
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("rejected 2 lines"), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.ends_with("13800139999\n13900000000\n"));
}

TEST_F(CliTest, ImportBuildsAStoreAndRejectsMalformedFiles) {
    const std::string csv = dir.write("segments.csv",
                                      "Mobile,Province,City,Corp\n"
                                      "1920000,辽宁省,大连市,中国广电\n"
                                      "1650000,辽宁省,大连市,中国移动(虚拟运营商)\n"
                                      "1920000,辽宁省,大连市,中国广电\n");
    const std::string db = dir.file("imported.db");
    auto r = cli({"import", csv, "--db", db});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");  // the report goes to standard error
    EXPECT_NE(r.err.find("imported 1: 中国广电"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("skipped 1: repeated segment with the same place"), std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("wrote 2 segments to " + db + " (no store was in use)"), std::string::npos)
        << r.err;
    // 大连 has a record; 大连市 (this file's spelling) has none.
    EXPECT_NE(r.err.find("1 cities of the store have no record in the city table"),
              std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find(": 大连市\n"), std::string::npos) << r.err;
    EXPECT_EQ(cli({"query", "大连", "--db", db}).out, "1650000\n1920000\n");
    EXPECT_EQ(cli({"query", "大连", "--db", db, "--carrier", "移动"}).out, "1650000\n");

    // Refused files name the reason, print no "imported", and leave the store as it was.
    std::string binary(4096, '\0');
    for (std::size_t i = 0; i < binary.size(); ++i) {
        binary[i] = static_cast<char>(i * 7919 % 251);
    }
    const std::pair<std::string, const char*> refused[] = {
        {dir.write("bad.csv", "nothing useful here\n"), "line 1: 1 fields where the file has 4"},
        {dir.write("oops.csv", "Mobile,City,Corp\n1920000,大连,广电\noops\n"), "line 3: 1 fields"},
        {dir.write("header.csv", "Mobile,Province\n1300000,山东\n"), "has no column City"},
        {dir.write("empty.csv", ""), "empty file"},
        {dir.write("truncated.csv", "Mobile,City,Corp\n19200"), "line 2: 1 fields"},
        {dir.write("binary.dat", binary), "line 1: a NUL byte"},
        {dir.file("absent.csv"), "No such file or directory"},
        {dir.path().string(), "is a directory"},
    };
    for (const auto& [file, says] : refused) {
        r = cli({"import", file, "--db", db});
        EXPECT_EQ(r.status, 1) << file;
        EXPECT_NE(r.err.find(says), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find("imported"), std::string::npos) << r.err;
        EXPECT_EQ(cli({"query", "大连", "--db", db}).out, "1650000\n1920000\n");
    }
    // Standard input as the file.
    r = cli({"import", "-", "--db", db}, "Mobile,City,Corp\n1300000,济南,联通\n");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("(the store in use had 2 segments)"), std::string::npos) << r.err;
    EXPECT_EQ(cli({"query", "济南", "--db", db}).out, "1300000\n");
}

TEST_F(CliTest, ImportsGoToTheUsersDataFolderAndResetReturnsToTheInstalledStore) {
    environment.userDataDirectory = dir.file("home/.local/share/haoma");
    const std::string csv = dir.write("mine.csv", "Mobile,City,Corp\n1300000,济南,联通\n");
    auto r = cli({"import", csv});
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string mine = environment.userDataDirectory + "/mobile.db";
    EXPECT_TRUE(std::filesystem::exists(mine));
    EXPECT_NE(r.err.find("(the store in use had 6 segments)"), std::string::npos) << r.err;
    EXPECT_EQ(cli({"query", "济南"}).out, "1300000\n");  // the imported store comes first
    EXPECT_NE(cli({"--version"}).out.find("segment data file: " + mine), std::string::npos);
    r = cli({"import", "--reset"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("removed " + mine), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(mine));
    EXPECT_EQ(cli({"query", "北京"}).out, "1300101\n1330101\n1390101\n");
    EXPECT_EQ(cli({"import", "--reset", "--db", mine}).status, 2);
    EXPECT_EQ(cli({"import", "--reset", csv}).status, 2);
    environment.userDataDirectory.clear();
    EXPECT_EQ(cli({"import", csv}).status, 1);  // no HOME: no place to put it
}

TEST_F(CliTest, ADamagedStoreIsAnErrorNamingTheFile) {
    const std::string db = dir.file("mobile.db");
    {
        std::fstream file(db, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(2 * 4096 + 100);
        file.write("garbage!garbage!", 16);
    }
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"query", "北京"}, {"cities"}, {"where", "1390101"}, {"all", "--city", "北京"}}) {
        const auto r = cli(args);
        EXPECT_EQ(r.status, 1) << args[0];
        EXPECT_NE(r.err.find(db), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("damaged"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("haoma-cli import"), std::string::npos) << r.err;
    }
}

TEST_F(CliTest, OutputRespectsWhatIsThere) {
    // A symbolic link: the target gets the numbers, the link stays a link.
    const std::string target = dir.write("target.txt", "old\n");
    std::filesystem::create_symlink(target, dir.file("link.txt"));
    EXPECT_EQ(cli({"all", "--limit", "1", "1380013", "-o", dir.file("link.txt")}).status, 0);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.txt")));
    EXPECT_EQ(slurp(target), "13800130000\n");
    // A private file keeps its mode.
    const std::string secret = dir.write("secret.txt", "old\n");
    std::filesystem::permissions(
        secret, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_EQ(cli({"all", "--limit", "1", "1380013", "-o", secret}).status, 0);
    EXPECT_EQ(std::filesystem::status(secret).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_EQ(slurp(secret), "13800130000\n");
    // A FIFO is written directly: a reader gets the numbers, and it stays a FIFO.
    const std::string fifo = dir.file("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] { received = slurp(fifo); });
    EXPECT_EQ(cli({"all", "--limit", "2", "1380013", "-o", fifo}).status, 0);
    reader.join();
    EXPECT_EQ(received, "13800130000\n13800130001\n");
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    // A folder is refused.
    const auto folder = cli({"all", "1380013", "-o", dir.path().string()});
    EXPECT_EQ(folder.status, 1);
    EXPECT_NE(folder.err.find("is a directory"), std::string::npos) << folder.err;
}

class EndlessLines : public std::streambuf {
  public:
    explicit EndlessLines(std::string line) : line_(std::move(line)) {}
    std::size_t served = 0;

  protected:
    int_type underflow() override {
        chunk_.clear();
        while (chunk_.size() < 4096) {
            chunk_ += line_;
        }
        served += chunk_.size();
        setg(chunk_.data(), chunk_.data(), chunk_.data() + chunk_.size());
        return traits_type::to_int_type(chunk_[0]);
    }

  private:
    std::string line_;
    std::string chunk_;
};

TEST_F(CliTest, StandardInputIsReadAsAStream) {
    EndlessLines lines("1380013\n");
    std::istream endless(&lines);
    std::ostringstream out, err;
    EXPECT_EQ(run({"all", "--limit", "1"}, endless, out, err, environment), 0);
    EXPECT_EQ(out.str(), "13800130000\n");
    EXPECT_LT(lines.served, 1U << 20);  // the first lines, not the whole (endless) input
    // A line past 1 MiB is skipped with a note; the lines around it are used.
    const auto longLine = cli({"all", "--limit", "10002"},
                              "1380013\n" + std::string((1 << 20) + 1, '7') + "\n1390000\n");
    EXPECT_TRUE(longLine.out.ends_with("13800139999\n13900000000\n13900000001\n"));
    EXPECT_NE(longLine.err.find("rejected 1 line that is longer than 1 MiB"), std::string::npos);
    const auto afterLong =
        cli({"all", "--limit", "10001"}, std::string((1 << 21), '7') + "\n1390000\n");
    EXPECT_TRUE(afterLong.out.ends_with("13900009999\n")) << afterLong.err;
}

TEST_F(CliTest, ByteOrderMarkDashAndStandardInputNames) {
    const std::string bom = "\xEF\xBB\xBF";
    EXPECT_EQ(cli({"pretty", "--kinds", "AAAA"}, bom + "1380013\r\n").out.size(), 10U * 12);
    EXPECT_EQ(cli({"all", "--limit", "1"}, bom + "1380013\n").out, "13800130000\n");
    EXPECT_EQ(
        cli({"all", "--limit", "1", "--segments", dir.write("bom.txt", bom + "1390000\n")}).out,
        "13900000000\n");
    EXPECT_EQ(cli({"all", "--limit", "1", "-"}, "1380013\n").out, "13800130000\n");
    EXPECT_EQ(cli({"all", "--limit", "1", "--segments", "-"}, "1380013\n").out, "13800130000\n");
    EXPECT_EQ(cli({"pretty", "--kinds", "AAAA", "1390000", "-"}, "1380013\n").out.substr(0, 24),
              "13900000000\n13900001111\n");
    EXPECT_EQ(cli({"where", "-"}, "13800138000\n").out,
              "13800138000\t1380013\t广东省\t广州市\t中国移动\t020\n");
}

TEST(CliProcess, AReadErrorOnStandardInputIsAFailure) {
    const std::string out =
        shell(std::string("bash -c '") + HAOMA_CLI_PATH + " all < / 2>&1; echo status=$?'");
    EXPECT_NE(out.find("cannot read standard input: Is a directory"), std::string::npos) << out;
    EXPECT_NE(out.find("status=1"), std::string::npos) << out;
}

TEST(CliProcess, AnInterruptedImportKeepsTheOldStore) {
    for (const int signal : {SIGINT, SIGTERM}) {
        TempDir dir;
        const std::string db = dir.file("mobile.db");
        ASSERT_EQ(lookup::writeStore(db, {{"1300000", "山东", "济南", "中国联通", "0531", ""}}, {}),
                  "");
        const pid_t child = fork();
        if (child == 0) {
            test::execCli({"import", HAOMA_SEGMENT_CSV, "--db", db});
        }
        const std::string temporary = dir.file(".mobile.db.part-" + std::to_string(child));
        // Reading and checking 517,258 rows comes first.
        const bool writing = test::waitForFile(temporary);
        kill(child, signal);
        if (!writing) {
            waitpid(child, nullptr, 0);
            FAIL() << "the import never began to write";
        }
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 128 + signal);
        EXPECT_FALSE(std::filesystem::exists(temporary));
        std::string error;
        const auto store = lookup::SegmentStore::open(db, &error);
        ASSERT_NE(store, nullptr) << error;
        EXPECT_EQ(store->rowCount(), 1);
    }
}

struct ChildRun {
    int status = -1;
    std::string err;
};

// Runs haoma-cli as a child with standard output on `output` (a file or /dev/null), after
// `setup` ran in the child; its exit status and standard error.
ChildRun runChild(const std::vector<std::string>& args, const char* output,
                  const std::function<bool()>& setup) {
    int errors[2];
    if (pipe(errors) != 0) {
        return {};
    }
    const pid_t child = fork();
    if (child == 0) {
        if (!setup()) {
            _exit(126);
        }
        dup2(open(output, O_WRONLY), 1);
        dup2(errors[1], 2);
        close(errors[0]);
        test::execCli(args);
    }
    close(errors[1]);
    ChildRun run;
    std::array<char, 4096> chunk{};
    for (ssize_t got; (got = read(errors[0], chunk.data(), chunk.size())) > 0;) {
        run.err.append(chunk.data(), static_cast<std::size_t>(got));
    }
    close(errors[0]);
    int status = 0;
    waitpid(child, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// Messages give the real cause and the file: a full disk, a file-size limit, a folder the
// user may not write.
TEST(CliProcess, MessagesNameTheRealCauseAndTheFile) {
    TempDir dir;
    const auto noSetup = [] { return true; };
    auto run = runChild({"all", "1380013"}, "/dev/full", noSetup);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "haoma-cli: cannot write standard output: No space left on device\n");

    const std::string db = dir.file("limited.db");
    run = runChild({"import", HAOMA_SEGMENT_CSV, "--db", db}, "/dev/null", [] {
        const rlimit small{1 << 20, 1 << 20};
        std::signal(SIGXFSZ, SIG_IGN);
        return setrlimit(RLIMIT_FSIZE, &small) == 0;
    });
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("cannot write " + db + ": File too large"), std::string::npos)
        << run.err;
    EXPECT_FALSE(std::filesystem::exists(db));

    if (geteuid() != 0) {
        GTEST_SKIP() << "needs root to act as nobody";
    }
    // A home that nobody may not write: the cause is the permission, not a missing folder.
    for (const bool withFolder : {false, true}) {
        TempDir home;
        const std::string store = home.file(".local/share/haoma/mobile.db");
        if (withFolder) {
            std::filesystem::create_directories(home.file(".local/share/haoma"));
        }
        ASSERT_EQ(chmod(home.path().c_str(), 0755), 0);
        run = runChild({"import", HAOMA_SEGMENT_CSV}, "/dev/null", [&] {
            setenv("HOME", home.path().c_str(), 1);
            unsetenv("XDG_DATA_HOME");
            return setgid(65534) == 0 && setuid(65534) == 0;
        });
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find("Permission denied"), std::string::npos) << run.err;
        EXPECT_NE(run.err.find(withFolder ? store : home.file(".local")), std::string::npos)
            << run.err;
        EXPECT_EQ(run.err.find("No such file"), std::string::npos) << run.err;
    }
}

// Two imports of one store at once: the second is refused while the first writes, never a
// silent last rename wins; the first's rows are what the store then holds.
TEST(CliProcess, ASecondImportOfTheSameStoreIsRefusedWhileTheFirstWrites) {
    TempDir dir;
    const std::string db = dir.file("mobile.db");
    const std::string small = dir.write("small.csv", "Mobile,City,Corp\n1300000,济南,联通\n");
    const pid_t child = fork();
    if (child == 0) {
        test::execCli({"import", HAOMA_SEGMENT_CSV, "--db", db});
    }
    ASSERT_TRUE(test::waitForFile(dir.file(".mobile.db.part-" + std::to_string(child))));
    const std::string second = std::string(HAOMA_CLI_PATH) + " import " + small + " --db " + db;
    FILE* pipe = popen((second + " 2>&1").c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string said;
    std::array<char, 512> chunk{};
    while (std::fgets(chunk.data(), chunk.size(), pipe) != nullptr) {
        said += chunk.data();
    }
    const int secondStatus = pclose(pipe);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(secondStatus) && WEXITSTATUS(secondStatus) == 1) << said;
    EXPECT_NE(said.find("another import is writing " + db + " (process " + std::to_string(child)),
              std::string::npos)
        << said;
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const auto store = lookup::SegmentStore::open(db);
    ASSERT_NE(store, nullptr);
    EXPECT_GT(store->rowCount(), 500000);
    EXPECT_FALSE(std::filesystem::exists(dir.file(".mobile.db.lock")));  // let go with the import
    // Once the first has finished the next import runs.
    EXPECT_EQ(std::system((second + " 2>/dev/null").c_str()), 0);
}

}  // namespace
}  // namespace haoma::cli
