// SPDX-License-Identifier: MIT
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/temporary_file.h"

namespace haoma::platform {

WritableFile::~WritableFile() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

WritableFile::WritableFile(WritableFile&& other) noexcept : fd_(other.fd_), index_(other.index_) {
    other.fd_ = -1;
}

WritableFile& WritableFile::operator=(WritableFile&& other) noexcept {
    std::swap(fd_, other.fd_);
    std::swap(index_, other.index_);
    return *this;
}

std::optional<WritableFile> WritableFile::create(const std::string& path,
                                                 std::optional<unsigned> mode, int& cause) {
    WritableFile file;
    file.fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (file.fd_ < 0) {
        cause = errno;
        return std::nullopt;
    }
    // The mode is set on the open file, never by path: the old file's, else what a new file
    // gets under the umask.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    struct stat made {};
    if (::fchmod(file.fd_, mode ? static_cast<mode_t>(*mode) : 0666 & ~mask) != 0 ||
        ::fstat(file.fd_, &made) != 0) {
        cause = errno;
        ::unlink(path.c_str());
        return std::nullopt;
    }
    file.index_ = static_cast<std::uint64_t>(made.st_ino);
    return file;
}

std::optional<WritableFile> WritableFile::openExisting(const std::string& path, int& cause) {
    WritableFile file;
    file.fd_ = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (file.fd_ < 0) {
        cause = errno;
        return std::nullopt;
    }
    return file;
}

bool WritableFile::isOpen() const {
    return fd_ >= 0;
}

bool WritableFile::write(std::string_view bytes, int& cause) {
    while (!bytes.empty()) {
        const auto wrote = ::write(fd_, bytes.data(), bytes.size());
        if (wrote < 0) {
            if (errno == EINTR) {
                continue;
            }
            cause = errno;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(wrote));
    }
    return true;
}

bool WritableFile::close(int& cause) {
    const int fd = fd_;
    fd_ = -1;
    if (fd >= 0 && ::close(fd) != 0 && errno != EINTR) {
        cause = errno;
        return false;
    }
    return true;
}

bool replaceFile(const std::string& temporary, const std::string& target, int& cause) {
    if (std::rename(temporary.c_str(), target.c_str()) != 0) {
        cause = errno;
        return false;
    }
    return true;
}

bool stillNames(const std::string& path, std::uint64_t fileIndex) {
    struct stat file {};
    return ::lstat(path.c_str(), &file) == 0 &&
           static_cast<std::uint64_t>(file.st_ino) == fileIndex;
}

std::optional<unsigned> fileMode(const std::string& path) {
    struct stat file {};
    if (::stat(path.c_str(), &file) != 0) {
        return std::nullopt;
    }
    return static_cast<unsigned>(file.st_mode & 07777);
}

bool mayWrite(const std::string& path, int& cause) {
    if (::access(path.c_str(), W_OK) != 0) {
        cause = errno;
        return false;
    }
    return true;
}

bool mayRead(const std::string& path, int& cause) {
    if (::access(path.c_str(), R_OK) != 0) {
        cause = errno;
        return false;
    }
    return true;
}

std::string errorText(int cause) {
    return std::strerror(cause);
}

long processId() {
    return static_cast<long>(::getpid());
}

bool processRuns(long id) {
    // ESRCH: no such process. EPERM: it runs under another user.
    return !(::kill(static_cast<pid_t>(id), 0) != 0 && errno == ESRCH);
}

bool ownedByThisUser(const std::string& path) {
    struct stat file {};
    return ::lstat(path.c_str(), &file) == 0 && file.st_uid == ::geteuid();
}

}  // namespace haoma::platform
