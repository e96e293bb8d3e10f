// SPDX-License-Identifier: MIT
#include "lookup/file_output.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "lookup/temporary_files.h"

namespace haoma::lookup {

Output::Output(std::ostream& standardOutput, const std::string& path)
    : stream_(&standardOutput), path_(path) {
    if (path_.empty()) {
        return;
    }
    const auto target = followLinks(path_);
    if (!target) {
        cause_ = ELOOP;
        error_ = "cannot write " + path_ + ": " + std::strerror(ELOOP);
        return;
    }
    target_ = *target;
    struct stat existing {};
    const bool exists = ::stat(target_.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) {
        cause_ = EISDIR;
        error_ = "cannot write " + path_ + ": is a directory";
        return;
    }
    // A file the user may not write is not replaced behind its back (as cp without -f).
    if (exists && ::access(target_.c_str(), W_OK) != 0) {
        cause_ = errno;
        error_ = "cannot write " + path_ + ": " + std::strerror(errno);
        return;
    }
    if (exists && !S_ISREG(existing.st_mode)) {
        file_.open(target_, std::ios::binary | std::ios::out);  // a device or a FIFO
    } else {
        removeStaleTemporaries(target_);
        temporary_ = temporaryPathFor(target_);
        descriptor_ = createTemporary(temporary_);
        // The mode is set on the open file, never by path: the old file's, else what a new
        // file gets under the umask.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        const auto mode = exists ? existing.st_mode & 07777 : 0666 & ~mask;
        if (descriptor_ >= 0 && ::fchmod(descriptor_, mode) == 0) {
            // The stream opens the very file created, whatever happens to the name since.
            file_.open("/proc/self/fd/" + std::to_string(descriptor_),
                       std::ios::binary | std::ios::trunc);
        }
    }
    if (!file_.is_open()) {
        fail("cannot write " + path_);
        if (descriptor_ >= 0) {
            ::close(descriptor_);
            descriptor_ = -1;
            std::error_code ignored;
            std::filesystem::remove(temporary_, ignored);
        }
        temporary_.clear();
        return;
    }
    stream_ = &file_;
}

Output::~Output() {
    if (!temporary_.empty() && !committed_) {
        file_.close();
        std::error_code ignored;
        std::filesystem::remove(temporary_, ignored);
    }
    if (descriptor_ >= 0) {
        ::close(descriptor_);
    }
}

void Output::fail(const std::string& what) {
    if (error_.empty()) {
        cause_ = errno;
        error_ = what + ": " + (errno != 0 ? std::strerror(errno) : "write error");
    }
}

bool Output::write(std::string_view block) {
    stream_->write(block.data(), static_cast<std::streamsize>(block.size()));
    if (!*stream_) {
        if (toFile()) {
            fail("cannot write " + path_);
        }
        return false;
    }
    return true;
}

bool Output::commit() {
    stream_->flush();
    if (!toFile()) {
        return static_cast<bool>(*stream_);
    }
    file_.close();
    if (!file_) {
        fail("cannot write " + path_);
        return false;
    }
    if (temporary_.empty()) {
        committed_ = true;
        return true;
    }
    std::error_code ec;
    std::filesystem::rename(temporary_, target_, ec);
    if (ec) {
        cause_ = ec.value();
        error_ = "cannot replace " + path_ + ": " + ec.message();
        return false;
    }
    committed_ = true;
    return true;
}

}  // namespace haoma::lookup
