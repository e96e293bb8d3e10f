// SPDX-License-Identifier: MIT
#include "lookup/store_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "lookup/temporary_files.h"

namespace haoma::lookup {
namespace {

std::string lockPathFor(const std::string& store) {
    const std::filesystem::path path(store);
    return (path.parent_path() / ("." + path.filename().string() + ".lock")).string();
}

// The process id the holder wrote into the lock file, or the empty text.
std::string holderOf(int fd) {
    std::array<char, 32> text{};
    const auto got = ::pread(fd, text.data(), text.size() - 1, 0);
    return got > 0 ? std::string(text.data(), static_cast<std::size_t>(got)) : "";
}

}  // namespace

std::unique_ptr<StoreLock> StoreLock::acquire(const std::string& target, std::string& error) {
    const auto store = followLinks(target);
    if (!store) {
        error = "cannot lock " + target + ": " + std::strerror(ELOOP);
        return nullptr;
    }
    const std::string path = lockPathFor(*store);
    // The holder removes the file as it lets go, so a lock taken on a file that is no
    // longer the one at `path` is worthless: take it again on the new one.
    for (;;) {
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0) {
            error = "cannot write " + *store + ": " + std::strerror(errno);
            return nullptr;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int cause = errno;
            const std::string holder = holderOf(fd);
            ::close(fd);
            error = cause == EWOULDBLOCK ? "another import is writing " + *store +
                                               (holder.empty() ? "" : " (process " + holder + ")") +
                                               "; try again when it has finished"
                                         : "cannot lock " + *store + ": " + std::strerror(cause);
            return nullptr;
        }
        struct stat held {};
        struct stat named {};
        if (::fstat(fd, &held) == 0 && ::lstat(path.c_str(), &named) == 0 &&
            held.st_ino == named.st_ino && held.st_dev == named.st_dev) {
            // The id only helps the message of a second import; the lock holds without it.
            const std::string pid = std::to_string(::getpid());
            [[maybe_unused]] const bool noted =
                ::ftruncate(fd, 0) == 0 &&
                ::pwrite(fd, pid.data(), pid.size(), 0) == static_cast<ssize_t>(pid.size());
            return std::unique_ptr<StoreLock>(new StoreLock(fd, path));
        }
        ::close(fd);
    }
}

StoreLock::~StoreLock() {
    ::unlink(path_.c_str());
    ::close(fd_);
}

}  // namespace haoma::lookup
