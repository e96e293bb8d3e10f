// SPDX-License-Identifier: MIT
#include <windows.h>

#include <cstdlib>

#include "platform/paths.h"
#include "platform/windows_text.h"

namespace haoma::platform {

std::filesystem::path toPath(std::string_view utf8) {
    return std::filesystem::path(windows::widen(utf8));
}

std::string fromPath(const std::filesystem::path& path) {
    return windows::narrow(path.native());
}

std::FILE* openFile(const std::string& path, const char* mode) {
    return _wfopen(windows::widen(path).c_str(), windows::widen(mode).c_str());
}

std::string executableDirectory() {
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD got = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (got == 0) {
            return {};
        }
        if (got < name.size()) {
            name.resize(got);
            break;
        }
        name.resize(name.size() * 2);
    }
    return fromPath(std::filesystem::path(name).parent_path());
}

std::string userDataDirectory() {
    const wchar_t* local = _wgetenv(L"LOCALAPPDATA");
    if (local == nullptr || local[0] == L'\0') {
        return {};
    }
    return fromPath(std::filesystem::path(local) / L"haoma");
}

double physicalMemoryBytes() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof(status);
    return GlobalMemoryStatusEx(&status) ? static_cast<double>(status.ullTotalPhys) : 0;
}

}  // namespace haoma::platform
