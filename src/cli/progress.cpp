// SPDX-License-Identifier: MIT
#include "cli/progress.h"

#include <cstdio>

namespace haoma::cli {

using Clock = std::chrono::steady_clock;

Progress::Progress(std::ostream* err, std::optional<std::uint64_t> total)
    : err_(err), total_(total), start_(Clock::now()), lastDraw_(start_) {}

void Progress::update(std::uint64_t count) {
    if (err_ != nullptr && Clock::now() - lastDraw_ >= std::chrono::milliseconds(250)) {
        draw(count);
    }
}

void Progress::finish(std::uint64_t count) {
    if (err_ != nullptr) {
        draw(count);
        *err_ << "\n" << std::flush;
    }
}

void Progress::draw(std::uint64_t count) {
    lastDraw_ = Clock::now();
    const double seconds = std::chrono::duration<double>(lastDraw_ - start_).count();
    const double rate = seconds > 0 ? static_cast<double>(count) / seconds : 0.0;
    char line[160];
    int n = std::snprintf(line, sizeof line, "\r%llu numbers  %.1f M/s",
                          static_cast<unsigned long long>(count), rate / 1e6);
    if (total_ && *total_ > 0 && n > 0) {
        const double done = static_cast<double>(count) / static_cast<double>(*total_);
        const double left = rate > 0 ? static_cast<double>(*total_ - count) / rate : 0.0;
        n += std::snprintf(line + n, sizeof line - static_cast<std::size_t>(n),
                           "  %5.1f%%  %.0fs left", 100.0 * done, left);
    }
    err_->write(line, n).flush();
}

}  // namespace haoma::cli
