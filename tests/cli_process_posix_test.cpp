// SPDX-License-Identifier: MIT
// haoma-cli as a POSIX child process: a closed pipe, a read error, signals during an import,
// a full device and a file-size limit, another user's home, two imports at once.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

#include "cli_child.h"
#include "cli_fixture.h"
#include "lookup/segment_store.h"

namespace haoma::cli {
namespace {

using test::TempDir;

TEST(CliProcess, AClosedPipeStopsQuietlyWithZero) {
    const std::string out = shell(std::string("bash -c '") + HAOMA_CLI_PATH +
                                  " all 1380013 1390000 2>/tmp/haoma-pipe-err | head -3; "
                                  "echo status=${PIPESTATUS[0]}; cat /tmp/haoma-pipe-err'");
    EXPECT_EQ(out, "13800130000\n13800130001\n13800130002\nstatus=0\n");
}

TEST(CliProcess, FindsTheStoreBesideTheProgramFromAnotherFolder) {
    const std::string out = shell(std::string("cd / && ") + HAOMA_CLI_PATH + " query 北京 | wc -l");
    EXPECT_GT(std::stoi(out), 10000);
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
