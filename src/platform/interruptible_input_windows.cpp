// SPDX-License-Identifier: MIT
#include <windows.h>

#include <cerrno>
#include <string>
#include <system_error>

#include "platform/interruptible_input.h"
#include "platform/windows_text.h"

namespace haoma::platform {
namespace {

constexpr DWORD kWaitMilliseconds = 100;

[[noreturn]] void fail(DWORD error) {
    const int cause = windows::errnoOf(error);
    std::system_error failure(cause, std::generic_category(), "read");
    errno = cause;
    throw failure;
}

}  // namespace

std::size_t InterruptibleInput::readSome(char* into, std::size_t room) {
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    const DWORD type = GetFileType(input);
    bool peekable = type == FILE_TYPE_PIPE;
    for (;;) {
        if (*interrupted_ != 0) {
            return 0;
        }
        if (peekable) {
            // Only wait in slices: a read on an empty pipe would not return for Ctrl-C.
            DWORD available = 0;
            if (!PeekNamedPipe(input, nullptr, 0, nullptr, &available, nullptr)) {
                if (GetLastError() == ERROR_BROKEN_PIPE) {
                    return 0;  // the writer is done
                }
                // A pipe that cannot be looked into (Wine's POSIX pipes): read it as it comes.
                peekable = false;
                continue;
            }
            if (available == 0) {
                Sleep(10);
                continue;
            }
            room = std::min<std::size_t>(room, available);
        } else if (type == FILE_TYPE_CHAR) {
            DWORD mode = 0;
            if (GetConsoleMode(input, &mode)) {
                if (WaitForSingleObject(input, kWaitMilliseconds) != WAIT_OBJECT_0) {
                    continue;
                }
                // Console text comes as UTF-16, whatever the code page: given on as UTF-8.
                wchar_t wide[1024];
                DWORD got = 0;
                if (!ReadConsoleW(input, wide,
                                  static_cast<DWORD>(std::min<std::size_t>(room / 4, 1024)), &got,
                                  nullptr)) {
                    fail(GetLastError());
                }
                if (got == 0) {
                    continue;
                }
                // Ctrl-Z at the start of a line ends console input, as for every program.
                if (wide[0] == 0x1A) {
                    return 0;
                }
                const std::string text = windows::narrow(std::wstring_view(wide, got));
                text.copy(into, text.size());
                return text.size();
            }
        }
        DWORD got = 0;
        if (!ReadFile(input, into, static_cast<DWORD>(std::min<std::size_t>(room, 1U << 30)), &got,
                      nullptr)) {
            if (GetLastError() == ERROR_BROKEN_PIPE || GetLastError() == ERROR_HANDLE_EOF) {
                return 0;
            }
            fail(GetLastError());
        }
        return got;
    }
}

}  // namespace haoma::platform
