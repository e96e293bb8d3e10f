// SPDX-License-Identifier: MIT
#pragma once
// The pretty and all-numbers runs from the command line: streamed in blocks to the output,
// with the limit playing the planned total's part, progress, and interruption.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/segment_source.h"
#include "generate/pattern_kind.h"

namespace CLI {
class App;
}

namespace haoma::cli {

class Context;

using WantedKinds = std::array<bool, generate::kPatternKindCount>;

struct GenerateOptions {
    SegmentSource source;
    std::optional<std::uint64_t> limit;

    // Adds the segment source and --limit to a subcommand.
    void declare(CLI::App& command);
};

// Runs the pretty-number run for the wanted kinds, or the all-numbers run when `wanted` is
// nothing, over the segment lines of `options`; the exit status.
int generateNumbers(Context& context, const GenerateOptions& options,
                    const std::vector<std::string>& extraOperands,
                    const std::optional<WantedKinds>& wanted);

}  // namespace haoma::cli
