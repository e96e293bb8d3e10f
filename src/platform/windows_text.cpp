// SPDX-License-Identifier: MIT
#include "platform/windows_text.h"

#include <windows.h>

#include <cerrno>

#include "platform/temporary_file.h"

namespace haoma::platform::windows {

std::wstring widen(std::string_view utf8) {
    if (utf8.empty()) {
        return {};
    }
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), size);
    return wide;
}

std::string narrow(std::wstring_view utf16) {
    if (utf16.empty()) {
        return {};
    }
    const int size = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), text.data(), size,
                        nullptr, nullptr);
    return text;
}

// ERROR_DISK_QUOTA_EXCEEDED, which MinGW-w64's headers lack.
constexpr unsigned long kDiskQuotaExceeded = 1295;

int errnoOf(unsigned long error) {
    struct Known {
        unsigned long error;
        int cause;
    };
    static constexpr Known kKnown[] = {
        {ERROR_FILE_NOT_FOUND, ENOENT},
        {ERROR_PATH_NOT_FOUND, ENOENT},
        {ERROR_INVALID_NAME, ENOENT},
        {ERROR_ACCESS_DENIED, EACCES},
        {ERROR_WRITE_PROTECT, EROFS},
        {ERROR_SHARING_VIOLATION, EBUSY},
        {ERROR_LOCK_VIOLATION, EBUSY},
        {ERROR_DISK_FULL, ENOSPC},
        {ERROR_HANDLE_DISK_FULL, ENOSPC},
        {kDiskQuotaExceeded, kQuotaExceeded},
        {ERROR_FILE_EXISTS, EEXIST},
        {ERROR_ALREADY_EXISTS, EEXIST},
        {ERROR_DIRECTORY, ENOTDIR},
        {ERROR_NOT_ENOUGH_MEMORY, ENOMEM},
        {ERROR_OUTOFMEMORY, ENOMEM},
        {ERROR_BROKEN_PIPE, EPIPE},
        {ERROR_NO_DATA, EPIPE},
        {ERROR_PIPE_NOT_CONNECTED, EPIPE},
        {ERROR_INVALID_HANDLE, EBADF},
        {ERROR_CANT_RESOLVE_FILENAME, ELOOP},
        {ERROR_FILENAME_EXCED_RANGE, ENAMETOOLONG},
    };
    for (const auto& known : kKnown) {
        if (known.error == error) {
            return known.cause;
        }
    }
    return EIO;
}

}  // namespace haoma::platform::windows
