// SPDX-License-Identifier: MIT
// SIGINT, SIGTERM and SIGHUP end every long haoma-cli command promptly, as a child process: runs
// over a blank segment line (fillers of 11 digits: endless for a person), with and without
// filters, searches that find little, an endless standard input, an input where nothing
// comes (as at a terminal), an import.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cli_child.h"
#include "temp_dir.h"

namespace haoma::cli {
namespace {

using Clock = std::chrono::steady_clock;
using test::TempDir;

// A run that ignored the signal would go on for minutes or hours: one that has not ended
// this long after it is killed and fails the test. How fast it answers on an idle machine
// is the interrupt benchmark's to say, not a test's (a busy machine can take a while).
constexpr auto kWatchdog = std::chrono::seconds(10);

// Waiting: a pipe kept open with nothing written, as a terminal where no one types.
enum class Input { BlankLine, EndlessNumbers, Waiting, None };

struct Case {
    std::vector<std::string> args;  // after the program; OUT stands for the output file
    Input input;
};

// Starts haoma-cli with the arguments and the input; the child's process id. For Waiting,
// `writer` is the pipe's write end, for the caller to close.
pid_t start(const std::vector<std::string>& args, Input input, const std::string& blankFile,
            int& writer) {
    int feed[2] = {-1, -1};
    if ((input == Input::EndlessNumbers || input == Input::Waiting) && pipe(feed) != 0) {
        return -1;
    }
    const pid_t child = fork();
    if (child == 0) {
        int in = -1;
        if (input == Input::EndlessNumbers) {
            if (fork() == 0) {  // the writer: numbers until the reader is gone
                close(feed[0]);
                dup2(feed[1], 1);
                execlp("yes", "yes", "13800138000", static_cast<char*>(nullptr));
                _exit(127);
            }
            close(feed[1]);
            in = feed[0];
        } else if (input == Input::Waiting) {
            close(feed[1]);
            in = feed[0];
        } else {
            in = open(input == Input::BlankLine ? blankFile.c_str() : "/dev/null", O_RDONLY);
        }
        dup2(in, 0);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        test::execCli(args);
    }
    if (input == Input::EndlessNumbers) {
        close(feed[0]);
        close(feed[1]);
    } else if (input == Input::Waiting) {
        close(feed[0]);
        writer = feed[1];
    }
    return child;
}

// Whether the child has installed its handlers of SIGINT, SIGTERM and SIGHUP (the caught
// signals of /proc/PID/status): signalled before, it would end by the default action.
bool handlersInstalled(pid_t child) {
    std::ifstream status("/proc/" + std::to_string(child) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with("SigCgt:")) {
            const unsigned long long caught = std::stoull(line.substr(7), nullptr, 16);
            const auto bit = [](int signal) { return 1ULL << (signal - 1); };
            const unsigned long long wanted = bit(SIGINT) | bit(SIGTERM) | bit(SIGHUP);
            return (caught & wanted) == wanted;
        }
    }
    return false;
}

// Waits for a state, never for a time: until the child catches the signals (or has ended).
void waitForHandlers(pid_t child) {
    int status = 0;
    while (!handlersInstalled(child) && waitpid(child, &status, WNOHANG | WNOWAIT) == 0) {
        usleep(1000);
    }
}

// Waits until the run is under way: its temporary output has begun to fill (signalled
// early, so that the test measures the run's answer, not the removal of a big file), or for
// a run without -o or an import, a while (an import is then still reading).
void waitForWork(const std::filesystem::path& folder, bool toFile) {
    usleep(toFile ? 20000 : 300000);
    for (int wait = 0; toFile && wait < 1000; ++wait) {
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            std::error_code ec;
            if (entry.path().filename().string().find("out.txt.part-") != std::string::npos &&
                std::filesystem::file_size(entry.path(), ec) > 0) {
                return;
            }
        }
        usleep(2000);
    }
}

// Waits for the child; one that has not ended within a few seconds is killed, so that a run
// which ignores the signal fails the test instead of hanging it.
void waitOrKill(pid_t child, int& status) {
    for (const auto start = Clock::now(); Clock::now() - start < kWatchdog;) {
        if (waitpid(child, &status, WNOHANG) == child) {
            return;
        }
        usleep(1000);
    }
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
}

bool anyPartFile(const std::filesystem::path& folder) {
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().filename().string().find(".part-") != std::string::npos) {
            return true;
        }
    }
    return false;
}

TEST(CliInterrupt, EveryLongCommandEndsOnTheSignalWithItsStatusAndNoTemporaryFile) {
    const std::vector<Case> cases = {
        {{"all", "-o", "OUT"}, Input::BlankLine},
        {{"all", "--contains", "88", "--without", "4", "-o", "OUT"}, Input::BlankLine},
        {{"all", "--contains", "13", "--without", "0", "-o", "OUT"}, Input::BlankLine},
        {{"pretty", "-o", "OUT"}, Input::BlankLine},
        {{"pretty", "--contains", "5", "--without", "3", "-o", "OUT"}, Input::BlankLine},
        {{"match", "A+++,AAAA", "-o", "OUT"}, Input::BlankLine},
        {{"match", "ABCDEFGHIJ*", "--contains", "98", "-o", "OUT"}, Input::BlankLine},
        {{"match", "*", "--contains", "13", "--without", "2"}, Input::BlankLine},
        {{"where", "-o", "OUT"}, Input::EndlessNumbers},
        {{"where"}, Input::EndlessNumbers},
        {{"all", "--progress"}, Input::EndlessNumbers},
        {{"import", HAOMA_SEGMENT_CSV, "--db", "DB"}, Input::None},
        {{"where"}, Input::Waiting},
        {{"all"}, Input::Waiting},
        {{"import", "-", "--db", "DB"}, Input::Waiting},
        // Samples: drawn as they are written, or (shuffled) all ranks drawn first.
        {{"all", "--sample", "30000000", "--seed", "3", "-o", "OUT"}, Input::BlankLine},
        {{"all", "--sample", "30000000", "--seed", "3", "--shuffle"}, Input::BlankLine},
        {{"pretty", "--sample", "3000000", "--contains", "9", "-o", "OUT"}, Input::BlankLine},
        // A count over an endless input.
        {{"all", "--count"}, Input::EndlessNumbers},
    };
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        for (const auto& c : cases) {
            TempDir dir;
            const std::string blank = dir.file("blank.txt");
            std::FILE* file = std::fopen(blank.c_str(), "w");
            std::fputs("\n", file);
            std::fclose(file);
            std::vector<std::string> args = c.args;
            std::string label;
            for (auto& arg : args) {
                arg = arg == "OUT" ? dir.file("out.txt") : arg == "DB" ? dir.file("my.db") : arg;
                label += arg + " ";
            }
            int writer = -1;
            const pid_t child = start(args, c.input, blank, writer);
            ASSERT_GT(child, 0);
            waitForHandlers(child);
            waitForWork(dir.path(), std::find(args.begin(), args.end(), "-o") != args.end());
            int status = 0;
            ASSERT_EQ(waitpid(child, &status, WNOHANG), 0) << label << "ended by itself";
            const auto sent = Clock::now();
            kill(child, signal);
            waitOrKill(child, status);
            const auto took = Clock::now() - sent;
            if (writer >= 0) {
                close(writer);
            }
            ASSERT_TRUE(WIFEXITED(status))
                << label << "still running "
                << std::chrono::duration_cast<std::chrono::milliseconds>(took).count()
                << " ms after the signal";
            EXPECT_EQ(WEXITSTATUS(status), 128 + signal) << label;
            EXPECT_FALSE(anyPartFile(dir.path())) << label;
            EXPECT_FALSE(std::filesystem::exists(dir.file("my.db"))) << label;
        }
    }
}

}  // namespace
}  // namespace haoma::cli
