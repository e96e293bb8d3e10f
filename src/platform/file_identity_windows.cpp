// SPDX-License-Identifier: MIT
#include <windows.h>

#include "platform/file_identity.h"
#include "platform/windows_text.h"

namespace haoma::platform {
namespace {

std::optional<FileIdentity> identity(HANDLE handle) {
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        // A pipe or a console: compared by the handle's own value, which no path shares.
        return FileIdentity{0, reinterpret_cast<std::uintptr_t>(handle), false};
    }
    BY_HANDLE_FILE_INFORMATION information{};
    if (!GetFileInformationByHandle(handle, &information)) {
        return std::nullopt;
    }
    return FileIdentity{
        information.dwVolumeSerialNumber,
        (static_cast<std::uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow,
        (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0};
}

}  // namespace

std::optional<FileIdentity> identityOf(const std::string& path) {
    if (path.empty()) {
        return std::nullopt;
    }
    const HANDLE handle = CreateFileW(windows::widen(path).c_str(), 0,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    auto found = identity(handle);
    CloseHandle(handle);
    return found;
}

std::optional<FileIdentity> standardStreamIdentity(int stream) {
    static constexpr DWORD kHandles[] = {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE};
    const HANDLE handle = GetStdHandle(kHandles[stream]);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    return identity(handle);
}

}  // namespace haoma::platform
