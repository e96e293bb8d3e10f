// SPDX-License-Identifier: MIT
// haoma-cli and the files POSIX has: symbolic links, FIFOs and devices, files of other
// users, /proc and /dev/fd, closed standard streams and the shell's redirections.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "cli_child.h"
#include "cli_fixture.h"
#include "lookup/segment_store.h"

namespace haoma::cli {
namespace {

using test::TempDir;

std::string contents(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

struct ShellRun {
    int status = -1;
    std::string out, err;
};

// Runs a bash script with CLI naming haoma-cli and DIR a fresh folder; what it printed.
ShellRun bash(const std::string& script, const TempDir& dir) {
    const std::string out = dir.file("shell.out");
    const std::string err = dir.file("shell.err");
    const std::string command = "cd '" + dir.path().string() +
                                "' && CLI='" HAOMA_CLI_PATH "' DIR='" + dir.path().string() +
                                "' bash -c '" + script + "' >'" + out + "' 2>'" + err + "'";
    ShellRun run;
    const int status = std::system(command.c_str());
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = contents(out);
    run.err = contents(err);
    return run;
}

// -o naming the file standard output is open on: written through it, so the shell's append
// or truncate holds (a pipe works too); -o naming standard input's file is refused.
TEST(CliProcess, AnOutputThatIsStandardOutputKeepsTheShellsRedirection) {
    TempDir dir;
    const auto run = [&](const std::string& script) { return bash(script, dir); };
    auto r = run("echo KEEP > f; $CLI all 1380013 --limit 2 -o /dev/stdout >> f; cat f");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "KEEP\n13800130000\n13800130001\n");
    r = run("echo KEEP > f; $CLI all 1380013 --limit 1 -o f >> f; cat f");
    EXPECT_EQ(r.out, "KEEP\n13800130000\n");
    r = run("echo KEEP > f; $CLI all 1380013 --limit 1 -o /dev/fd/1 > f; cat f");
    EXPECT_EQ(r.out, "13800130000\n");
    r = run("$CLI all 1380013 --limit 2 -o /proc/self/fd/1 | cat");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "13800130000\n13800130001\n");
    r = run("echo 1380013 > f; $CLI all --limit 2 -o f < f; status=$?; cat f; exit $status");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "1380013\n");
    EXPECT_NE(r.err.find("it is standard input"), std::string::npos) << r.err;
}

// A closed standard stream gets the null device at start: no file opened later takes its
// number, so notes never land in the output file, and output meant for a closed standard
// output is a failure, not a success.
TEST(CliProcess, ClosedStandardStreamsNeverLendTheirNumbers) {
    TempDir dir;
    const struct {
        std::string script;
        int status;
        std::string file;  // what OUT holds afterwards
    } cases[] = {
        {"printf \"深圳\\n\" | $CLI all --limit 2 -o OUT 2>&-", 0, "深圳0000000\n深圳0000001\n"},
        {"printf \"深圳\\n\" | $CLI all --limit 2 -o OUT >&- 2>&-", 0,
         "深圳0000000\n深圳0000001\n"},
        {"$CLI all --limit 2 -o OUT 1380013 <&- >&- 2>&-", 0, "13800130000\n13800130001\n"},
        {"$CLI all --limit 2 -o OUT <&-", 0, ""},
        {"$CLI where 13800138000 -o OUT <&- 2>&-", 0,
         "13800138000\t1380013\t北京\t北京\t中国移动\t010\n"},
        {"$CLI all 1380013 --limit 2 >&-", 1, ""},
        {"$CLI import " HAOMA_SEGMENT_CSV " --db OUT <&- >&- 2>&-", 0, ""},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(dir.file("OUT"));
        std::string script = c.script;
        if (const auto out = script.find("OUT"); out != std::string::npos) {
            script.replace(out, 3, dir.file("OUT"));
        }
        const auto r = bash(script, dir);
        EXPECT_EQ(r.status, c.status) << c.script << "\n" << r.err;
        if (c.script.find("import") != std::string::npos) {
            EXPECT_NE(lookup::SegmentStore::open(dir.file("OUT")), nullptr) << c.script;
        } else if (c.status == 0) {
            EXPECT_EQ(contents(dir.file("OUT")), c.file) << c.script;
        } else {
            EXPECT_NE(r.err.find("cannot write standard output"), std::string::npos) << r.err;
        }
    }
}

TEST(CliProcess, FilesOfAnotherUserAreNamedWithTheirFault) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "needs root to act as nobody";
    }
    TempDir dir;
    ASSERT_EQ(chmod(dir.path().c_str(), 0777), 0);
    const std::string lock = dir.write(".s.db.lock", "");
    ASSERT_EQ(chmod(lock.c_str(), 0600), 0);
    const std::string locked = dir.write("locked.db", "");
    const std::string closed = dir.file("closed.db");
    ASSERT_EQ(lookup::writeStore(closed, {{"1380013", "北京", "北京", "中国移动", "010", ""}}, {}),
              "");
    ASSERT_EQ(chmod(closed.c_str(), 0), 0);
    const auto asNobody = [&](const std::string& script) {
        return bash("setpriv --reuid=65534 --regid=65534 --clear-groups " + script, dir);
    };
    auto r = asNobody("$CLI import " HAOMA_SEGMENT_CSV " --db " + dir.file("s.db"));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(lock + ": Permission denied"), std::string::npos) << r.err;
    r = asNobody("$CLI --db " + closed + " query 北京");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(closed + ": Permission denied"), std::string::npos) << r.err;
}

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

}  // namespace
}  // namespace haoma::cli
