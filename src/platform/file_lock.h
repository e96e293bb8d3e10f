// SPDX-License-Identifier: MIT
#pragma once
// A lock file: held by one process at a time, without waiting, holding the holder's process
// id for the message of the next one, and removed as the holder lets go.

#include <memory>
#include <string>

namespace haoma::platform {

class LockFile {
  public:
    virtual ~LockFile() = default;
};

struct LockAttempt {
    std::unique_ptr<LockFile> lock;  // null when not taken
    bool busy = false;               // another process holds it
    std::string holder;              // that process's id, when it wrote one
    int cause = 0;                   // otherwise: why the file could not be made or locked
};

// Takes the lock file at `path` (never through a link).
LockAttempt lockFile(const std::string& path);

}  // namespace haoma::platform
