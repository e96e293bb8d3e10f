// SPDX-License-Identifier: MIT
#include <unistd.h>

#include <cstdlib>

#include "platform/paths.h"

namespace haoma::platform {

std::filesystem::path toPath(std::string_view utf8) {
    return std::filesystem::path(std::string(utf8));
}

std::string fromPath(const std::filesystem::path& path) {
    return path.string();
}

std::FILE* openFile(const std::string& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}

std::string executableDirectory() {
    std::error_code ec;
    const auto self = std::filesystem::canonical("/proc/self/exe", ec);
    return ec ? std::string() : self.parent_path().string();
}

std::string userDataDirectory() {
    return xdgDataDirectory(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
}

double physicalMemoryBytes() {
    const auto pages = static_cast<double>(sysconf(_SC_PHYS_PAGES));
    const auto pageSize = static_cast<double>(sysconf(_SC_PAGESIZE));
    return pages > 0 && pageSize > 0 ? pages * pageSize : 0;
}

}  // namespace haoma::platform
