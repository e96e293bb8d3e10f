// SPDX-License-Identifier: MIT
#pragma once
// Notes on segment lines a user most likely did not mean (a name, a stray mark, CR-only
// line ends, a line longer than a number): each kind is said once per run, on standard
// error, naming its first line. The lines still run as the window runs them.

#include <array>
#include <cstddef>
#include <ostream>
#include <string_view>

#include "generate/segment_line.h"

namespace haoma::cli {

class LineNotes {
  public:
    explicit LineNotes(std::ostream& err) : err_(err) {}

    // Looks at segment line `number` (from 1); says the note of its kind if it is the first.
    void see(std::string_view line, std::size_t number);

  private:
    std::ostream& err_;
    std::array<bool, 6> said_{};
};

}  // namespace haoma::cli
