// SPDX-License-Identifier: MIT
#pragma once
// Where the programs write: standard output, or a file. A regular file (or a new one) is
// written through a temporary file in the same folder, renamed over the target only when
// the run completes and given the old file's mode; a symbolic link is followed to its
// target; anything else (a device, a FIFO) is written directly. A file that is one of the
// command's inputs is refused before anything is written; a file already open as standard
// output is written through standard output, keeping the shell's append or truncate.

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/temporary_file.h"

namespace haoma::lookup {

// A file a command reads, which its output must not replace: "the segment store" and its
// path, or "standard input" with an empty path.
struct CommandInput {
    std::string what;
    std::string path;
};

// What an output is checked against before anything is written.
struct OutputRules {
    std::vector<CommandInput> inputs;
    // False when standard output was closed when the program started (and now leads to the
    // null device): a file named as it is then written as any other.
    bool standardOutputOpen = true;
};

class Output {
  public:
    // Writes to `standardOutput`, or to `path` when it is not empty and is none of `inputs`.
    Output(std::ostream& standardOutput, const std::string& path, const OutputRules& rules = {});
    ~Output();  // an output not committed leaves no file behind
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    // False when the file could not be created or may not be written; error() says why.
    bool ready() const { return error_.empty(); }
    // True when writing to a file of its own; false for standard output, also when the file
    // named is the one standard output is open on.
    bool toFile() const { return !path_.empty(); }
    const std::string& error() const { return error_; }
    // The system's error number of the failure (ENOSPC, EACCES …), 0 when none is known.
    int cause() const { return cause_; }

    // Writes a block; false when the reader has gone (a closed pipe) or the file failed.
    bool write(std::string_view block);

    // Puts the file in its place; false (with error()) when that fails.
    bool commit();

  private:
    void fail(const std::string& what, int cause);

    std::ostream* stream_;
    std::optional<platform::WritableFile> file_;
    std::string path_;       // as given; empty for standard output
    std::string target_;     // the file written, symbolic links followed
    std::string temporary_;  // empty when the target is written directly
    std::string error_;
    int cause_ = 0;
    bool committed_ = false;
};

}  // namespace haoma::lookup
