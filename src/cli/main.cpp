// SPDX-License-Identifier: MIT
#include <fcntl.h>
#include <langinfo.h>
#include <sys/stat.h>
#include <unistd.h>

#include <clocale>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "cli/cli.h"
#include "cli/fd_input.h"
#include "lookup/segment_store.h"

namespace {
volatile int interrupted = 0;
}

int main(int argc, char** argv) {
    std::signal(SIGPIPE, SIG_IGN);  // a closed pipe shows as a failed write
    // The streams' own buffers: faster, and a read error on standard input (a folder, an I/O
    // error) sets the stream's bad bit instead of passing for the end of the input.
    std::ios::sync_with_stdio(false);
    // Without SA_RESTART: a blocking call that a signal breaks off returns, and the run ends.
    struct sigaction stop {};
    stop.sa_handler = [](int signal) { interrupted = signal; };
    sigemptyset(&stop.sa_mask);
    sigaction(SIGINT, &stop, nullptr);
    sigaction(SIGTERM, &stop, nullptr);
    // A larger pipe lets big blocks pass with fewer wake-ups of the reader.
    struct stat out {};
    if (fstat(1, &out) == 0 && S_ISFIFO(out.st_mode)) {
        fcntl(1, F_SETPIPE_SZ, 1 << 20);
    }
    // The locale is read for its character set only; the program itself stays in "C".
    std::string charset;
    if (std::setlocale(LC_CTYPE, "") != nullptr) {
        charset = nl_langinfo(CODESET);
        std::setlocale(LC_CTYPE, "C");
    }
    const haoma::cli::Environment environment{
        std::filesystem::canonical("/proc/self/exe").parent_path().string(),
        haoma::lookup::userDataDirectory(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")),
        isatty(2) == 1, &interrupted, charset};
    haoma::cli::FdInputBuffer input(0, &interrupted);
    std::istream in(&input);
    return haoma::cli::run({argv + 1, argv + argc}, in, std::cout, std::cerr, environment);
}
