// SPDX-License-Identifier: MIT
#pragma once
// The files writes go through: a temporary beside the target, created so that no one can
// redirect it, written and then put in the target's place in one step, so that a failed or
// interrupted write leaves the old file whole. Errors are errno values (platform::errorText
// words them), whatever the system.

#include <cerrno>
#include <optional>
#include <string>
#include <string_view>

namespace haoma::platform {

// A file open for writing; closed (and, unless kept, a temporary removed) when destroyed.
class WritableFile {
  public:
    WritableFile() = default;
    ~WritableFile();
    WritableFile(WritableFile&& other) noexcept;
    WritableFile& operator=(WritableFile&& other) noexcept;
    WritableFile(const WritableFile&) = delete;
    WritableFile& operator=(const WritableFile&) = delete;

    // Creates `path` anew: never through a link, never over a file already there. Its mode is
    // `mode` when given (an old file's), else what a new file gets (the umask's). Nothing,
    // with `cause`, when it cannot be made.
    static std::optional<WritableFile> create(const std::string& path, std::optional<unsigned> mode,
                                              int& cause);
    // Opens a file that is there (a device or a FIFO) to write into it directly.
    static std::optional<WritableFile> openExisting(const std::string& path, int& cause);

    bool isOpen() const;
    // Writes it all; false with `cause` on failure.
    bool write(std::string_view bytes, int& cause);
    // Closes it; false with `cause` when the last of it could not be written.
    bool close(int& cause);
    // The file's identity as created, to check later that the name still leads to it.
    std::uint64_t fileIndex() const { return index_; }

  private:
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
    std::uint64_t index_ = 0;
};

// ".NAME.part-PID" in the folder of `target`, for this process.
std::string temporaryPathFor(const std::string& target);

// Removes the temporaries of `target` that a gone process left: ".NAME.part-PID" beside it,
// regular files (a link is not followed) of this user whose process is gone. Returns how
// many were removed; nothing else in the folder is touched.
int removeStaleTemporaries(const std::string& target);

// Puts `temporary` in the place of `target` in one step, replacing what is there; false with
// `cause` when it cannot (the old file then stays as it was).
bool replaceFile(const std::string& temporary, const std::string& target, int& cause);

// Whether the name still leads to the file created with that index (nobody swapped it).
bool stillNames(const std::string& path, std::uint64_t fileIndex);

// The permission bits of a file that is there, to give its replacement; nothing otherwise.
std::optional<unsigned> fileMode(const std::string& path);

// Whether this user may write the file that is there (as cp without -f asks); `cause` if not.
bool mayWrite(const std::string& path, int& cause);

// Whether this user may read the file that is there; `cause` if not.
bool mayRead(const std::string& path, int& cause);

// The system's words for an errno value.
std::string errorText(int cause);

// The error number of a full disk quota: Windows has none of its own, so one is set aside.
#ifdef EDQUOT
inline constexpr int kQuotaExceeded = EDQUOT;
#else
inline constexpr int kQuotaExceeded = 4122;
#endif

// This process's id, and whether the process with another id still runs (under any user).
long processId();
bool processRuns(long id);

// Whether the file (not followed if a link) belongs to the user this process runs as.
bool ownedByThisUser(const std::string& path);

}  // namespace haoma::platform
