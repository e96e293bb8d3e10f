// SPDX-License-Identifier: MIT
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <iostream>

#include "cli/cli.h"

namespace {
volatile int interrupted = 0;
}

int main(int argc, char** argv) {
    std::signal(SIGPIPE, SIG_IGN);  // a closed pipe shows as a failed write
    std::signal(SIGINT, [](int) { interrupted = 1; });
    std::signal(SIGTERM, [](int) { interrupted = 1; });
    // A larger pipe lets big blocks pass with fewer wake-ups of the reader.
    struct stat out {};
    if (fstat(1, &out) == 0 && S_ISFIFO(out.st_mode)) {
        fcntl(1, F_SETPIPE_SZ, 1 << 20);
    }
    const haoma::cli::Environment environment{
        std::filesystem::canonical("/proc/self/exe").parent_path().string(), isatty(2) == 1,
        &interrupted};
    return haoma::cli::run({argv + 1, argv + argc}, std::cin, std::cout, std::cerr, environment);
}
