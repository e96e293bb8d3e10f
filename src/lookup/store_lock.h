// SPDX-License-Identifier: MIT
#pragma once
// One writer of a store at a time: a lock file beside the store, held for as long as an
// import or a reset runs, so that two of them never race to rename over each other.

#include <memory>
#include <string>

#include "platform/file_lock.h"

namespace haoma::lookup {

class StoreLock {
  public:
    // Takes the lock of the store at `target` (its links followed): ".NAME.lock" in the
    // store's folder, holding the owner's process id. Nothing, with the reason in `error`,
    // when another process holds it (named by its id) or the lock file cannot be made
    // (named in the message).
    static std::unique_ptr<StoreLock> acquire(const std::string& target, std::string& error);

  private:
    explicit StoreLock(std::unique_ptr<platform::LockFile> lock) : lock_(std::move(lock)) {}
    std::unique_ptr<platform::LockFile> lock_;
};

}  // namespace haoma::lookup
