// SPDX-License-Identifier: MIT
#pragma once
// Lines of an input stream, read as they come: memory stays bounded by the longest line
// kept, whatever the input's length.

#include <cstddef>
#include <functional>
#include <istream>
#include <string>

namespace haoma::cli {

inline constexpr std::size_t kMaxLineBytes = 1 << 20;

class LineReader {
  public:
    // `textOnly`: lines that are not UTF-8 text are skipped and counted. `stop` is asked
    // before each read: true ends the input there.
    LineReader(std::istream& in, bool textOnly, std::function<bool()> stop = {});

    // The next line, without its LF or CR LF (a byte-order mark at the very start of the
    // input is dropped). Lines longer than kMaxLineBytes are skipped and counted. False at
    // the end of the input or when it cannot be read (failed()).
    bool next(std::string& line);

    bool failed() const { return failed_; }
    int notText() const { return notText_; }
    int tooLong() const { return tooLong_; }

  private:
    bool fill();

    std::istream& in_;
    bool textOnly_;
    std::function<bool()> stop_;
    std::string buffer_;
    std::size_t start_ = 0;    // where the next line begins in buffer_
    std::size_t scanned_ = 0;  // up to where buffer_ holds no LF after start_
    bool atStart_ = true;
    bool ended_ = false;
    bool failed_ = false;
    int notText_ = 0;
    int tooLong_ = 0;
};

}  // namespace haoma::cli
