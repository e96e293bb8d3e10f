// SPDX-License-Identifier: MIT
#pragma once
// Where the pretty and all commands take their segment lines from: the operands, else
// --segments FILE, else --city (with --carrier), else standard input.

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

    // Adds SEGMENT..., --segments, --city and --carrier to a subcommand.
    void declare(CLI::App& command);

    // The segment lines; false, with `status` set and a message written, when they cannot
    // be had.
    bool read(const Context& context, std::vector<std::string>& lines, int& status) const;
};

}  // namespace haoma::cli
