// SPDX-License-Identifier: MIT
#include <windows.h>

#include <cerrno>
#include <cstring>

#include "platform/file_identity.h"
#include "platform/temporary_file.h"
#include "platform/windows_text.h"

namespace haoma::platform {
namespace {

HANDLE asHandle(void* handle) {
    return static_cast<HANDLE>(handle);
}

int lastCause() {
    return windows::errnoOf(GetLastError());
}

}  // namespace

WritableFile::~WritableFile() {
    if (handle_ != nullptr) {
        CloseHandle(asHandle(handle_));
    }
}

WritableFile::WritableFile(WritableFile&& other) noexcept
    : handle_(other.handle_), index_(other.index_) {
    other.handle_ = nullptr;
}

WritableFile& WritableFile::operator=(WritableFile&& other) noexcept {
    std::swap(handle_, other.handle_);
    std::swap(index_, other.index_);
    return *this;
}

std::optional<WritableFile> WritableFile::create(const std::string& path, std::optional<unsigned>,
                                                 int& cause) {
    // CREATE_NEW: never over a file (or a link) that is there. Others may read it meanwhile;
    // the file takes the folder's permissions, as every new file there does.
    const HANDLE handle = CreateFileW(windows::widen(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                      nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        cause = lastCause();
        return std::nullopt;
    }
    WritableFile file;
    file.handle_ = handle;
    BY_HANDLE_FILE_INFORMATION information{};
    if (GetFileInformationByHandle(handle, &information)) {
        file.index_ = (static_cast<std::uint64_t>(information.nFileIndexHigh) << 32) |
                      information.nFileIndexLow;
    }
    return file;
}

std::optional<WritableFile> WritableFile::openExisting(const std::string& path, int& cause) {
    const HANDLE handle =
        CreateFileW(windows::widen(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        cause = lastCause();
        return std::nullopt;
    }
    WritableFile file;
    file.handle_ = handle;
    return file;
}

bool WritableFile::isOpen() const {
    return handle_ != nullptr;
}

bool WritableFile::write(std::string_view bytes, int& cause) {
    while (!bytes.empty()) {
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1U << 30));
        DWORD wrote = 0;
        if (!WriteFile(asHandle(handle_), bytes.data(), chunk, &wrote, nullptr)) {
            cause = lastCause();
            return false;
        }
        bytes.remove_prefix(wrote);
    }
    return true;
}

bool WritableFile::close(int& cause) {
    const HANDLE handle = asHandle(handle_);
    handle_ = nullptr;
    if (handle != nullptr && !CloseHandle(handle)) {
        cause = lastCause();
        return false;
    }
    return true;
}

bool replaceFile(const std::string& temporary, const std::string& target, int& cause) {
    // In one step and on the disk before it returns; a target another program holds open
    // without sharing its deletion is refused (a sharing violation), and stays whole.
    if (!MoveFileExW(windows::widen(temporary).c_str(), windows::widen(target).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        cause =
            GetLastError() == ERROR_ACCESS_DENIED &&
                    GetFileAttributesW(windows::widen(target).c_str()) != INVALID_FILE_ATTRIBUTES
                ? EBUSY
                : lastCause();
        return false;
    }
    return true;
}

bool stillNames(const std::string& path, std::uint64_t fileIndex) {
    const auto identity = identityOf(path);
    return identity && identity->file == fileIndex;
}

std::optional<unsigned> fileMode(const std::string&) {
    return std::nullopt;  // the replacement takes the folder's permissions
}

bool mayWrite(const std::string& path, int& cause) {
    const DWORD attributes = GetFileAttributesW(windows::widen(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        cause = EACCES;
        return false;
    }
    return true;
}

bool mayRead(const std::string& path, int& cause) {
    const HANDLE handle = CreateFileW(windows::widen(path).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        cause = lastCause();
        return false;
    }
    CloseHandle(handle);
    return true;
}

std::string errorText(int cause) {
    if (cause == EBUSY) {
        return "the file is in use by another program";
    }
    if (cause == kQuotaExceeded) {
        return "Disk quota exceeded";
    }
    return std::strerror(cause);
}

long processId() {
    return static_cast<long>(GetCurrentProcessId());
}

bool processRuns(long id) {
    const HANDLE process =
        OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(id));
    if (process == nullptr) {
        return GetLastError() != ERROR_INVALID_PARAMETER;  // no such process
    }
    const bool runs = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return runs;
}

bool ownedByThisUser(const std::string&) {
    return true;  // the temporaries lie in folders of the user's own
}

}  // namespace haoma::platform
