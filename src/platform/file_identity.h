// SPDX-License-Identifier: MIT
#pragma once
// Whether two names lead to one file: by device and inode (on Windows, by volume and file
// index), so that links, "/dev/stdout" and relative names all compare as what they open.

#include <cstdint>
#include <optional>
#include <string>

namespace haoma::platform {

struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t file = 0;
    bool regular = false;  // a regular file (not a pipe, device or terminal)
    bool operator==(const FileIdentity& other) const {
        return device == other.device && file == other.file;
    }
};

// The file a path opens (links followed); nothing when it does not exist or cannot be seen.
std::optional<FileIdentity> identityOf(const std::string& path);

// The file standard input (0), output (1) or error (2) is open on; nothing when closed.
std::optional<FileIdentity> standardStreamIdentity(int stream);

}  // namespace haoma::platform
