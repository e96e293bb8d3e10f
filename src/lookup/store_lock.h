// SPDX-License-Identifier: MIT
#pragma once
// One writer of a store at a time: a lock file beside the store, held for as long as an
// import or a reset runs, so that two of them never race to rename over each other.

#include <memory>
#include <string>

namespace haoma::lookup {

class StoreLock {
  public:
    // Takes the lock of the store at `target` (its links followed): ".NAME.lock" in the
    // store's folder, holding the owner's process id. Nothing, with the reason in `error`,
    // when another process holds it (named by its id) or the file cannot be made.
    static std::unique_ptr<StoreLock> acquire(const std::string& target, std::string& error);
    ~StoreLock();
    StoreLock(const StoreLock&) = delete;
    StoreLock& operator=(const StoreLock&) = delete;

  private:
    StoreLock(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
    int fd_;
    std::string path_;
};

}  // namespace haoma::lookup
