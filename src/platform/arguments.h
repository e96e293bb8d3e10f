// SPDX-License-Identifier: MIT
#pragma once
// The command line as UTF-8 text: as given on POSIX; on Windows read as UTF-16, whatever the
// ANSI code page, so that --city 北京 and Chinese paths arrive whole.

#include <string>
#include <vector>

namespace haoma::platform {

// The arguments after the program's name.
std::vector<std::string> commandLineArguments(int argc, char** argv);

}  // namespace haoma::platform
