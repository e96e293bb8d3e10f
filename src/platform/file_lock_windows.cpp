// SPDX-License-Identifier: MIT
#include <windows.h>

#include <array>
#include <cerrno>

#include "platform/file_lock.h"
#include "platform/windows_text.h"

namespace haoma::platform {
namespace {

class WindowsLock : public LockFile {
  public:
    explicit WindowsLock(HANDLE handle) : handle_(handle) {}
    // Opened with FILE_FLAG_DELETE_ON_CLOSE: the file goes as the lock is let go.
    ~WindowsLock() override { CloseHandle(handle_); }
    WindowsLock(const WindowsLock&) = delete;
    WindowsLock& operator=(const WindowsLock&) = delete;

  private:
    HANDLE handle_;
};

}  // namespace

LockAttempt lockFile(const std::string& path) {
    LockAttempt attempt;
    const HANDLE handle = CreateFileW(
        windows::widen(path).c_str(), GENERIC_READ | GENERIC_WRITE,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
        FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        attempt.cause = windows::errnoOf(GetLastError());
        // Windows denies a folder as it denies a file it may not open: say which.
        const DWORD attributes = GetFileAttributesW(windows::widen(path).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            attempt.cause = EISDIR;
        }
        return attempt;
    }
    OVERLAPPED whole{};
    if (!LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &whole)) {
        attempt.busy = GetLastError() == ERROR_LOCK_VIOLATION;
        attempt.cause = windows::errnoOf(GetLastError());
        // The holder's id lies past the locked first byte, readable while it holds the lock.
        std::array<char, 32> text{};
        DWORD got = 0;
        OVERLAPPED at{};
        at.Offset = 1;
        if (ReadFile(handle, text.data(), static_cast<DWORD>(text.size() - 1), &got, &at)) {
            attempt.holder.assign(text.data(), got);
        }
        CloseHandle(handle);
        return attempt;
    }
    const std::string pid = std::to_string(GetCurrentProcessId());
    DWORD wrote = 0;
    OVERLAPPED at{};
    at.Offset = 1;
    WriteFile(handle, pid.data(), static_cast<DWORD>(pid.size()), &wrote, &at);
    attempt.lock = std::make_unique<WindowsLock>(handle);
    return attempt;
}

}  // namespace haoma::platform
