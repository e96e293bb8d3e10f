// SPDX-License-Identifier: MIT
#include "lookup/temporary_files.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <filesystem>

namespace haoma::lookup {

std::string temporaryPathFor(const std::string& target) {
    const std::filesystem::path path(target);
    return (path.parent_path() /
            ("." + path.filename().string() + ".part-" + std::to_string(getpid())))
        .string();
}

int removeStaleTemporaries(const std::string& folder) {
    int removed = 0;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(
             folder.empty() ? "." : folder, std::filesystem::directory_options::none, ec)) {
        const std::string name = entry.path().filename().string();
        const auto mark = name.rfind(".part-");
        if (name.size() < 2 || name[0] != '.' || mark == std::string::npos || mark == 0) {
            continue;
        }
        const char* digits = name.data() + mark + 6;
        const char* end = name.data() + name.size();
        pid_t pid = 0;
        const auto [stop, error] = std::from_chars(digits, end, pid);
        if (error != std::errc() || stop != end || pid <= 0) {
            continue;
        }
        // ESRCH: no such process. EPERM means it lives under another user: left alone.
        if (kill(pid, 0) != 0 && errno == ESRCH && entry.is_regular_file(ec)) {
            removed += std::filesystem::remove(entry.path(), ec) ? 1 : 0;
        }
    }
    return removed;
}

}  // namespace haoma::lookup
