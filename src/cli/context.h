// SPDX-License-Identifier: MIT
#pragma once
// What every haoma-cli command shares: the streams, the common options, the segment store,
// the exit statuses, and writing blocks of output.

#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli.h"
#include "lookup/file_output.h"
#include "lookup/segment_store.h"

namespace haoma::cli {

using lookup::Output;

inline constexpr int kOk = 0;
inline constexpr int kFailure = 1;
inline constexpr int kUsageError = 2;
inline constexpr int kInterrupted = 130;

struct CommonOptions {
    std::optional<std::string> output;
    std::optional<std::string> db;
    bool crlf = false;
    bool progress = false;
};

class LineReader;

class Context {
  public:
    Context(const CommonOptions& options, std::istream& input, std::ostream& output,
            std::ostream& errors, const Environment& environment)
        : common(options), in(input), out(output), err(errors), env(environment) {}

    // One line on standard error; the status to return.
    int fail(const std::string& message) const;
    int usage(const std::string& message) const;

    std::string lineEnd() const { return common.crlf ? "\r\n" : "\n"; }
    bool interrupted() const { return env.interrupted != nullptr && *env.interrupted != 0; }
    // The exit status of an interrupted run: 128 and the signal's number.
    int interruptedStatus() const;

    // The store --db names, else the one the program finds beside itself or installed.
    std::string storePath() const;
    std::unique_ptr<lookup::SegmentStore> openStore(std::string& error) const;

    // The segments a city text leads to (see lookup::CityGuide), saying on standard error
    // which city was queried when the text was taken for another name ("汉口 → 武汉").
    // Nothing, with `status` set and the message written, when the store cannot answer or
    // (`mustMatch`) no segment matches.
    std::optional<std::vector<std::string>> citySegments(const lookup::SegmentStore& store,
                                                         std::string_view cityText,
                                                         lookup::Carrier carrier, bool mustMatch,
                                                         int& status) const;

    // The carrier an option names ("any" when not given); nothing, with a usage error
    // written, for an unknown name.
    std::optional<lookup::Carrier> carrier(const std::optional<std::string>& name,
                                           int& status) const;

    // Every UTF-8 line of a stream (see LineReader); the lines skipped are counted in a
    // note. False, with `status` set, when the stream cannot be read.
    bool readLines(std::istream& input, const std::string& name, std::vector<std::string>& lines,
                   int& status) const;
    // The notes of the lines a reader skipped; false, with `status` set, when it failed.
    bool finishReading(const LineReader& reader, const std::string& name, int& status) const;

    // The command reads this file (`what` names it in messages: "the segment store"), or
    // standard input (an empty path): its output may not replace it.
    void readsInput(std::string what, std::string path = "") const;

    // The output (standard output or -o), checked against the command's inputs and its
    // standard streams; null, with `status` set and the message written, when it may not or
    // cannot be written.
    std::unique_ptr<Output> openOutput(int& status) const;

    // Writes the lines to the output (standard output or -o) and puts it in place.
    int printLines(const std::vector<std::string>& lines) const;

    // Writes a block and empties it; false when the run must stop (`status` says how).
    bool write(Output& output, std::string& block, int& status) const;
    // Flushes and puts the output in its place; the exit status.
    int finish(Output& output) const;

    const CommonOptions& common;
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
    const Environment& env;

  private:
    // The status of a failed write or flush: a reader that has gone is no failure.
    int writeFailure(const Output& output) const;

    mutable std::vector<lookup::CommandInput> inputs_;
};

}  // namespace haoma::cli
