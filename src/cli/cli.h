// SPDX-License-Identifier: MIT
#pragma once
// haoma-cli: the window's lookups and runs from the command line, on the same core.

#include <iosfwd>
#include <string>
#include <vector>

namespace haoma::cli {

struct Environment {
    std::string programDirectory;  // where the default segment store lies
    bool errorIsTerminal = false;  // progress is shown on a terminal when writing to a file
    const volatile int* interrupted = nullptr;  // set by a signal handler: stop between blocks
};

// Runs one command. `args` excludes the program name. Returns the exit status: 0 success,
// 1 failure, 2 usage error.
int run(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
        std::ostream& err, const Environment& environment);

}  // namespace haoma::cli
