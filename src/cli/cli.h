// SPDX-License-Identifier: MIT
#pragma once
// haoma-cli: the window's lookups and runs from the command line, on the same core.

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace haoma::cli {

struct Environment {
    std::string programDirectory;   // where the installed segment store lies
    std::string userDataDirectory;  // where imports go and are looked for first; may be empty
    bool errorIsTerminal = false;   // progress is shown on a terminal when writing to a file
    // Set to the signal's number by a signal handler: stop between blocks.
    const volatile int* interrupted = nullptr;
    // The character set of the user's locale (nl_langinfo(CODESET)); empty when unknown.
    std::string localeCharset;
    // Standard output was closed when the program started: what is meant for it fails.
    bool outputClosed = false;
};

// Whether a locale's character set passes UTF-8 through unchanged: UTF-8 itself, or plain
// ASCII (the C locale of scripts); GB18030, GBK, Big5 and the like do not.
bool passesUtf8(std::string_view charset);

// Runs one command. `args` excludes the program name. Returns the exit status: 0 success,
// 1 failure, 2 usage error.
int run(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
        std::ostream& err, const Environment& environment);

}  // namespace haoma::cli
