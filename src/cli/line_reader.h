// SPDX-License-Identifier: MIT
#pragma once
// Lines of an input stream, read as they come: each read takes what the input has ready,
// and memory stays bounded by the longest line kept, whatever the input's length.

#include <cstddef>
#include <functional>
#include <istream>
#include <string>

namespace haoma::cli {

inline constexpr std::size_t kMaxLineBytes = 1 << 20;

struct LineRules {
    bool textOnly = true;      // lines that are not UTF-8 text are skipped and counted
    bool crEndsLine = false;   // a lone CR ends a line too (else only LF and CR LF do)
    bool keepTooLong = false;  // a line over kMaxLineBytes comes as its start (truncated())
};                             // instead of being skipped and counted

class LineReader {
  public:
    // `stop` is asked before each read: true ends the input there.
    LineReader(std::istream& in, LineRules rules, std::function<bool()> stop = {});

    // The next line, without its line end (a byte-order mark at the very start of the input
    // is dropped). False at the end of the input or when it cannot be read (failed()).
    bool next(std::string& line);

    // Whether the next line is read whole already: next() will not wait for the input.
    bool lineBuffered() const;

    // Whether the line next() gave last was too long, and is only its start.
    bool truncated() const { return truncated_; }

    bool failed() const { return failed_; }
    bool keepsTooLong() const { return rules_.keepTooLong; }
    int notText() const { return notText_; }
    int tooLong() const { return tooLong_; }

  private:
    bool fill();
    // Where the line that begins at start_ ends (the position of its line end), npos when
    // the buffer does not hold its end yet; `endLength` says how long the line end is.
    std::size_t lineEnd(std::size_t& endLength);
    // Drops the rest of a line too long to keep, up to its line end.
    void skipRest();

    std::istream& in_;
    LineRules rules_;
    std::function<bool()> stop_;
    std::string buffer_;
    std::size_t start_ = 0;    // where the next line begins in buffer_
    std::size_t scanned_ = 0;  // up to where buffer_ holds no line end after start_
    bool atStart_ = true;
    bool ended_ = false;
    bool failed_ = false;
    bool truncated_ = false;
    int notText_ = 0;
    int tooLong_ = 0;
};

}  // namespace haoma::cli
