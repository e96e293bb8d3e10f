// SPDX-License-Identifier: MIT
#include "lookup/store_lock.h"

#include <cerrno>
#include <filesystem>

#include "platform/paths.h"
#include "platform/temporary_file.h"

namespace haoma::lookup {
namespace {

std::string lockPathFor(const std::string& store) {
    const std::filesystem::path path = platform::toPath(store);
    return platform::fromPath(
        path.parent_path() / platform::toPath("." + platform::fromPath(path.filename()) + ".lock"));
}

}  // namespace

std::unique_ptr<StoreLock> StoreLock::acquire(const std::string& target, std::string& error) {
    const auto store = platform::followLinks(target);
    if (!store) {
        error = "cannot lock " + target + ": " + platform::errorText(ELOOP);
        return nullptr;
    }
    const std::string path = lockPathFor(*store);
    auto attempt = platform::lockFile(path);
    if (attempt.lock) {
        return std::unique_ptr<StoreLock>(new StoreLock(std::move(attempt.lock)));
    }
    // The file that failed is named: the lock file, not the store it guards.
    error = attempt.busy ? "another import is writing " + *store +
                               (attempt.holder.empty() ? "" : " (process " + attempt.holder + ")") +
                               "; try again when it has finished"
                         : "cannot lock " + *store + ": its lock file " + path + ": " +
                               platform::errorText(attempt.cause);
    return nullptr;
}

}  // namespace haoma::lookup
