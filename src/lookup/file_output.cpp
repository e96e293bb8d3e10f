// SPDX-License-Identifier: MIT
#include "lookup/file_output.h"

#include <cerrno>
#include <filesystem>

#include "platform/file_identity.h"
#include "platform/paths.h"

namespace haoma::lookup {
namespace {

// The input the file is, as a message names it; "" when it is none of them.
std::string sameAsInput(const platform::FileIdentity& target,
                        const std::vector<CommandInput>& inputs) {
    for (const auto& input : inputs) {
        const auto identity = input.path.empty() ? platform::standardStreamIdentity(0)
                                                 : platform::identityOf(input.path);
        if (identity && identity->regular && *identity == target) {
            return input.what + (input.path.empty() ? "" : " " + input.path);
        }
    }
    return {};
}

}  // namespace

Output::Output(std::ostream& standardOutput, const std::string& path, const OutputRules& rules)
    : stream_(&standardOutput), path_(path) {
    if (path_.empty()) {
        return;
    }
    // What the name opens, as the system follows it: /dev/stdout and /proc/self/fd/1 lead to
    // a pipe that no link text names.
    const auto identity = platform::identityOf(path_);
    if (identity) {
        if (const auto input = sameAsInput(*identity, rules.inputs); !input.empty()) {
            cause_ = EINVAL;
            error_ = "cannot write " + path_ + ": it is " + input +
                     ", which this command reads (write the output elsewhere)";
            return;
        }
        // /dev/stdout, or the file the shell opened for standard output (with > or >>):
        // written through that descriptor, never renamed over.
        const auto standard = platform::standardStreamIdentity(1);
        if (rules.standardOutputOpen && standard && *standard == *identity) {
            path_.clear();
            return;
        }
    }
    const auto target = platform::followLinks(path_);
    if (!target) {
        fail("cannot write " + path_, ELOOP);
        return;
    }
    target_ = *target;
    std::error_code ec;
    if (identity && std::filesystem::is_directory(platform::toPath(target_), ec)) {
        fail("cannot write " + path_ + ": is a directory", EISDIR);
        return;
    }
    // A file the user may not write is not replaced behind its back (as cp without -f).
    int cause = 0;
    if (identity && !platform::mayWrite(target_, cause)) {
        fail("cannot write " + path_, cause);
        return;
    }
    if (identity && !identity->regular) {
        file_ = platform::WritableFile::openExisting(target_, cause);  // a device or a FIFO
    } else {
        platform::removeStaleTemporaries(target_);
        temporary_ = platform::temporaryPathFor(target_);
        file_ = platform::WritableFile::create(temporary_, platform::fileMode(target_), cause);
        if (!file_) {
            temporary_.clear();
        }
    }
    if (!file_) {
        fail("cannot write " + path_, cause);
    }
}

Output::~Output() {
    if (!temporary_.empty() && !committed_) {
        file_.reset();
        std::error_code ignored;
        std::filesystem::remove(platform::toPath(temporary_), ignored);
    }
}

void Output::fail(const std::string& what, int cause) {
    if (error_.empty()) {
        cause_ = cause;
        error_ = cause == EISDIR
                     ? what
                     : what + ": " +
                           (cause != 0 ? platform::errorText(cause) : std::string("write error"));
    }
}

bool Output::write(std::string_view block) {
    if (!toFile()) {
        stream_->write(block.data(), static_cast<std::streamsize>(block.size()));
        return static_cast<bool>(*stream_);
    }
    int cause = 0;
    if (!file_->write(block, cause)) {
        fail("cannot write " + path_, cause);
        errno = cause;
        return false;
    }
    return true;
}

bool Output::commit() {
    if (!toFile()) {
        stream_->flush();
        return static_cast<bool>(*stream_);
    }
    int cause = 0;
    if (!file_->close(cause)) {
        fail("cannot write " + path_, cause);
        return false;
    }
    if (temporary_.empty()) {
        committed_ = true;
        return true;
    }
    if (!platform::replaceFile(temporary_, target_, cause)) {
        fail("cannot replace " + path_, cause);
        return false;
    }
    committed_ = true;
    return true;
}

}  // namespace haoma::lookup
