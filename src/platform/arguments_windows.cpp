// SPDX-License-Identifier: MIT
#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

#include "platform/arguments.h"
#include "platform/windows_text.h"

namespace haoma::platform {

std::vector<std::string> commandLineArguments(int, char**) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; wide != nullptr && i < count; ++i) {
        arguments.push_back(windows::narrow(wide[i]));
    }
    LocalFree(wide);
    return arguments;
}

}  // namespace haoma::platform
