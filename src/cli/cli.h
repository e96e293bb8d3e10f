// SPDX-License-Identifier: MIT
#pragma once
// haoma-cli: the window's lookups and runs from the command line, on the same core.

#include <iosfwd>
#include <string>
#include <vector>

namespace haoma::cli {

struct Environment {
    std::string programDirectory;   // where the installed segment store lies
    std::string userDataDirectory;  // where imports go and are looked for first; may be empty
    bool errorIsTerminal = false;   // progress is shown on a terminal when writing to a file
    // Set to the signal's number by a signal handler: stop between blocks.
    const volatile int* interrupted = nullptr;
};

// Runs one command. `args` excludes the program name. Returns the exit status: 0 success,
// 1 failure, 2 usage error.
int run(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
        std::ostream& err, const Environment& environment);

}  // namespace haoma::cli
