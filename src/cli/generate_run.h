// SPDX-License-Identifier: MIT
#pragma once
// The runs from the command line (all numbers, pretty numbers, pattern matches): streamed
// in blocks to the output, with the limit playing the planned total's part, progress and
// interruption; the rules on the digits after the segment; exact counts and samples.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/segment_source.h"
#include "generate/digit_pattern.h"
#include "generate/pattern_kind.h"
#include "generate/pretty_space.h"

namespace CLI {
class App;
}

namespace haoma::cli {

class Context;

using WantedKinds = generate::WantedKinds;

struct GenerateOptions {
    SegmentSource source;
    std::optional<std::uint64_t> limit;
    std::vector<std::string> contains;  // digit strings after the segment
    std::vector<std::string> without;   // digits that never occur after the segment (all
                                        // the --without options given, merged)
    bool wholeNumber = false;           // the two above hold for the whole number
    bool count = false;
    std::optional<std::uint64_t> sample;
    std::optional<std::uint64_t> seed;
    bool shuffle = false;

    // Adds the segment source and the options above to a subcommand.
    void declare(CLI::App& command);
};

// What a run gives: every number, the pretty numbers of the wanted kinds, or the numbers
// that match any of the patterns.
struct RunKind {
    std::optional<WantedKinds> pretty;
    std::optional<std::vector<generate::DigitPattern>> patterns;
};

// Runs over the segment lines of `options`; the exit status.
int generateNumbers(Context& context, const GenerateOptions& options,
                    const std::vector<std::string>& extraOperands, const RunKind& kind);

}  // namespace haoma::cli
