// SPDX-License-Identifier: MIT
#include "lookup/file_output.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "lookup/temporary_files.h"

namespace haoma::lookup {
namespace {

// The file a path names once its symbolic links are followed (the last link's target may
// not exist yet).
std::filesystem::path followLinks(std::filesystem::path path) {
    std::error_code ec;
    for (int hops = 0; hops < 40 && std::filesystem::is_symlink(path, ec); ++hops) {
        const auto link = std::filesystem::read_symlink(path, ec);
        if (ec) {
            break;
        }
        path = link.is_absolute() ? link : path.parent_path() / link;
    }
    return path;
}

}  // namespace

Output::Output(std::ostream& standardOutput, const std::string& path)
    : stream_(&standardOutput), path_(path) {
    if (path_.empty()) {
        return;
    }
    target_ = followLinks(path_).string();
    struct stat existing {};
    const bool exists = ::stat(target_.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) {
        error_ = "cannot write " + path_ + ": is a directory";
        return;
    }
    if (exists && !S_ISREG(existing.st_mode)) {
        file_.open(target_, std::ios::binary | std::ios::out);  // a device or a FIFO
    } else {
        const std::string folder = std::filesystem::path(target_).parent_path().string();
        removeStaleTemporaries(folder);
        temporary_ = temporaryPathFor(target_);
        mode_ = exists ? static_cast<int>(existing.st_mode & 07777) : -1;
        file_.open(temporary_, std::ios::binary | std::ios::trunc);
    }
    if (!file_) {
        fail("cannot write " + path_);
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
}

void Output::fail(const std::string& what) {
    if (error_.empty()) {
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
    if (mode_ >= 0 && ::chmod(temporary_.c_str(), static_cast<mode_t>(mode_)) != 0) {
        fail("cannot keep the mode of " + path_);
        return false;
    }
    std::error_code ec;
    std::filesystem::rename(temporary_, target_, ec);
    if (ec) {
        error_ = "cannot replace " + path_ + ": " + ec.message();
        return false;
    }
    committed_ = true;
    return true;
}

}  // namespace haoma::lookup
