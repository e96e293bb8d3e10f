// SPDX-License-Identifier: MIT
#include "cli/output.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace haoma::cli {

Output::Output(std::ostream& standardOutput, const std::string& path)
    : stream_(&standardOutput), path_(path) {
    if (path_.empty()) {
        return;
    }
    const std::filesystem::path target(path_);
    temporary_ = (target.parent_path() /
                  ("." + target.filename().string() + ".part-" + std::to_string(getpid())))
                     .string();
    file_.open(temporary_, std::ios::binary | std::ios::trunc);
    if (!file_) {
        error_ = "cannot write " + path_ + ": " + std::strerror(errno);
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

bool Output::write(std::string_view block) {
    stream_->write(block.data(), static_cast<std::streamsize>(block.size()));
    if (!*stream_) {
        if (toFile() && error_.empty()) {
            error_ = "cannot write " + path_ + ": " + std::strerror(errno);
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
        error_ = "cannot write " + path_;
        return false;
    }
    std::error_code ec;
    std::filesystem::rename(temporary_, path_, ec);
    if (ec) {
        error_ = "cannot replace " + path_ + ": " + ec.message();
        return false;
    }
    committed_ = true;
    return true;
}

}  // namespace haoma::cli
