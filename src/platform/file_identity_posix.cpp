// SPDX-License-Identifier: MIT
#include <sys/stat.h>

#include "platform/file_identity.h"

namespace haoma::platform {
namespace {

FileIdentity identity(const struct stat& file) {
    return {static_cast<std::uint64_t>(file.st_dev), static_cast<std::uint64_t>(file.st_ino),
            S_ISREG(file.st_mode)};
}

}  // namespace

std::optional<FileIdentity> identityOf(const std::string& path) {
    struct stat file {};
    if (path.empty() || ::stat(path.c_str(), &file) != 0) {
        return std::nullopt;
    }
    return identity(file);
}

std::optional<FileIdentity> standardStreamIdentity(int stream) {
    struct stat file {};
    if (::fstat(stream, &file) != 0) {
        return std::nullopt;
    }
    return identity(file);
}

}  // namespace haoma::platform
