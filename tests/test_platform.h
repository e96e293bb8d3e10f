// SPDX-License-Identifier: MIT
#pragma once
// What the tests ask of the system they run on.

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <string>

namespace haoma::test {

// Whether this user writes whatever the permissions say (root on POSIX; a read-only file
// holds on Windows whoever the user).
inline bool writesAnywhere() {
#ifdef _WIN32
    return false;
#else
    return ::geteuid() == 0;
#endif
}

// The id of a process that has just ended.
inline long goneProcessId() {
#ifdef _WIN32
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring command = L"cmd.exe /c exit 0";
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &startup, &process)) {
        return -1;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<long>(process.dwProcessId);
#else
    const pid_t child = fork();
    if (child == 0) {
        _exit(0);
    }
    waitpid(child, nullptr, 0);
    return child;
#endif
}

}  // namespace haoma::test
