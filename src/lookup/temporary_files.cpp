// SPDX-License-Identifier: MIT
#include "lookup/temporary_files.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <filesystem>

namespace haoma::lookup {

std::optional<std::string> followLinks(const std::string& given) {
    std::filesystem::path path(given);
    std::error_code ec;
    for (int hops = 0; std::filesystem::is_symlink(path, ec); ++hops) {
        if (hops == 40) {
            return std::nullopt;
        }
        const auto link = std::filesystem::read_symlink(path, ec);
        if (ec) {
            break;
        }
        path = link.is_absolute() ? link : path.parent_path() / link;
    }
    return path.string();
}

std::string temporaryPathFor(const std::string& target) {
    const std::filesystem::path path(target);
    return (path.parent_path() /
            ("." + path.filename().string() + ".part-" + std::to_string(getpid())))
        .string();
}

int createTemporary(const std::string& path) {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
}

int removeStaleTemporaries(const std::string& target) {
    const std::filesystem::path path(target);
    const std::filesystem::path folder = path.parent_path().empty() ? "." : path.parent_path();
    const std::string prefix = "." + path.filename().string() + ".part-";
    int removed = 0;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(
             folder, std::filesystem::directory_options::none, ec)) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with(prefix)) {
            continue;
        }
        const char* digits = name.data() + prefix.size();
        const char* end = name.data() + name.size();
        pid_t pid = 0;
        const auto [stop, error] = std::from_chars(digits, end, pid);
        struct stat file {};
        if (error != std::errc() || stop != end || pid <= 0 ||
            ::lstat(entry.path().c_str(), &file) != 0 || !S_ISREG(file.st_mode) ||
            file.st_uid != ::geteuid()) {
            continue;
        }
        // ESRCH: no such process. EPERM means it lives under another user: left alone.
        if (kill(pid, 0) != 0 && errno == ESRCH) {
            removed += std::filesystem::remove(entry.path(), ec) ? 1 : 0;
        }
    }
    return removed;
}

}  // namespace haoma::lookup
