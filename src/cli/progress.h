// SPDX-License-Identifier: MIT
#pragma once
// The progress line on standard error: count, rate, and when the total is known, the
// percentage and the time left.

#include <chrono>
#include <cstdint>
#include <optional>
#include <ostream>

namespace haoma::cli {

class Progress {
  public:
    Progress(std::ostream* err, std::optional<std::uint64_t> total);
    // Redraws at most a few times a second.
    void update(std::uint64_t count);
    void finish(std::uint64_t count);

  private:
    void draw(std::uint64_t count);
    std::ostream* err_;  // nullptr: no progress line
    std::optional<std::uint64_t> total_;
    std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::time_point lastDraw_;
};

}  // namespace haoma::cli
