// SPDX-License-Identifier: MIT
#pragma once
// Where the pretty and all commands take their segment lines from: the operands, else
// --segments FILE, else --city (with --carrier), else standard input ("-" names it too).

#include <optional>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace haoma::cli {

class Context;

struct SegmentSource {
    std::vector<std::string> operands;
    std::optional<std::string> segmentsFile;
    std::optional<std::string> city;
    std::optional<std::string> carrier;
    bool everyCity = false;  // --all: a --city text may stand for every city

    // Adds SEGMENT..., --segments, --city, --carrier and --all to a subcommand.
    void declare(CLI::App& command);

    // True when the lines are those of standard input alone, which may be read as a stream.
    bool standardInputOnly() const;

    // The segment lines; false, with `status` set and a message written, when they cannot
    // be had. An operand "-" stands for the lines of standard input.
    bool read(const Context& context, std::vector<std::string>& lines, int& status) const;
};

}  // namespace haoma::cli
