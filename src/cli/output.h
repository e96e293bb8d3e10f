// SPDX-License-Identifier: MIT
#pragma once
// Where haoma-cli writes: standard output, or a file written through a temporary file in
// the same folder and renamed over the target only when the run completes.

#include <fstream>
#include <ostream>
#include <string>
#include <string_view>

namespace haoma::cli {

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

    // Writes a block; false when the reader has gone (a closed pipe) or the file failed.
    bool write(std::string_view block);

    // Puts the file in its place; false (with error()) when that fails.
    bool commit();

  private:
    std::ostream* stream_;
    std::ofstream file_;
    std::string path_;
    std::string temporary_;
    std::string error_;
    bool committed_ = false;
};

}  // namespace haoma::cli
