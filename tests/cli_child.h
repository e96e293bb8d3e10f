// SPDX-License-Identifier: MIT
#pragma once
// haoma-cli as a child process, for the tests of signals, users and concurrent runs.
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

namespace haoma::test {

// Replaces the (forked) process with haoma-cli and these arguments; never returns.
[[noreturn]] inline void execCli(const std::vector<std::string>& args) {
    std::vector<char*> argv{const_cast<char*>(HAOMA_CLI_PATH)};
    for (const auto& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    execv(HAOMA_CLI_PATH, argv.data());
    _exit(127);
}

// Waits until `path` exists (two minutes at most: reading the shipped data takes seconds in a
// sanitizer build); whether it does.
inline bool waitForFile(const std::string& path) {
    for (int wait = 0; wait < 120000 && !std::filesystem::exists(path); ++wait) {
        usleep(1000);
    }
    return std::filesystem::exists(path);
}

}  // namespace haoma::test
