// SPDX-License-Identifier: MIT
#pragma once
// Where the programs write: standard output, or a file. A regular file (or a new one) is
// written through a temporary file in the same folder, renamed over the target only when
// the run completes and given the old file's mode; a symbolic link is followed to its
// target; anything else (a device, a FIFO) is written directly.

#include <fstream>
#include <ostream>
#include <string>
#include <string_view>

namespace haoma::lookup {

class Output {
  public:
    // Writes to `standardOutput`, or to `path` when it is not empty.
    Output(std::ostream& standardOutput, const std::string& path);
    ~Output();  // an output not committed leaves no file behind
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    // False when the file could not be created; error() says why.
    bool ready() const { return error_.empty(); }
    bool toFile() const { return !path_.empty(); }
    const std::string& error() const { return error_; }
    // The system's error number of the failure (ENOSPC, EACCES …), 0 when none is known.
    int cause() const { return cause_; }

    // Writes a block; false when the reader has gone (a closed pipe) or the file failed.
    bool write(std::string_view block);

    // Puts the file in its place; false (with error()) when that fails.
    bool commit();

  private:
    void fail(const std::string& what);

    std::ostream* stream_;
    std::ofstream file_;
    std::string path_;       // as given
    std::string target_;     // the file written, symbolic links followed
    std::string temporary_;  // empty when the target is written directly
    int descriptor_ = -1;    // the temporary file as created
    std::string error_;
    int cause_ = 0;
    bool committed_ = false;
};

}  // namespace haoma::lookup
