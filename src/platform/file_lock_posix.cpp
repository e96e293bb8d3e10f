// SPDX-License-Identifier: MIT
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>

#include "platform/file_lock.h"

namespace haoma::platform {
namespace {

class PosixLock : public LockFile {
  public:
    PosixLock(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
    ~PosixLock() override {
        ::unlink(path_.c_str());
        ::close(fd_);
    }
    PosixLock(const PosixLock&) = delete;
    PosixLock& operator=(const PosixLock&) = delete;

  private:
    int fd_;
    std::string path_;
};

// The process id the holder wrote into the lock file, or the empty text.
std::string holderOf(int fd) {
    std::array<char, 32> text{};
    const auto got = ::pread(fd, text.data(), text.size() - 1, 0);
    return got > 0 ? std::string(text.data(), static_cast<std::size_t>(got)) : "";
}

}  // namespace

LockAttempt lockFile(const std::string& path) {
    LockAttempt attempt;
    // The holder removes the file as it lets go, so a lock taken on a file that is no longer
    // the one at `path` is worthless: take it again on the new one.
    for (;;) {
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0) {
            attempt.cause = errno;
            return attempt;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int cause = errno;
            attempt.holder = holderOf(fd);
            ::close(fd);
            attempt.busy = cause == EWOULDBLOCK;
            attempt.cause = cause;
            return attempt;
        }
        struct stat held {};
        struct stat named {};
        if (::fstat(fd, &held) == 0 && ::lstat(path.c_str(), &named) == 0 &&
            held.st_ino == named.st_ino && held.st_dev == named.st_dev) {
            // The id only helps the message of a second writer; the lock holds without it.
            const std::string pid = std::to_string(::getpid());
            [[maybe_unused]] const bool noted =
                ::ftruncate(fd, 0) == 0 &&
                ::pwrite(fd, pid.data(), pid.size(), 0) == static_cast<ssize_t>(pid.size());
            attempt.lock = std::make_unique<PosixLock>(fd, path);
            return attempt;
        }
        ::close(fd);
    }
}

}  // namespace haoma::platform
