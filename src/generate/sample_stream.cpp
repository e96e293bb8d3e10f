// SPDX-License-Identifier: MIT
#include "generate/sample_stream.h"

#include "generate/run_parts.h"

namespace haoma::generate {
namespace {

constexpr std::uint64_t kStopAskEvery = 1 << 16;  // ranks between two stop requests

}  // namespace

SampleStream::SampleStream(const RunPlan& plan, std::uint64_t wanted, std::uint64_t seed,
                           bool shuffle, std::string_view lineEnd, StopRequest stop)
    : parts_(std::make_unique<RunParts>(plan, stop)),
      random_(seed),
      shuffle_(shuffle),
      lineEnd_(lineEnd),
      stop_(std::move(stop)) {
    fault_ = parts_->fault();
    if (fault_ != RunFault::None) {
        return;
    }
    total_ = parts_->total();
    size_ = numbersGiven(total_, plan.limit, wanted);
    if (!shuffle_) {
        ascending_.emplace(total_, size_, random_);
    }
}

SampleStream::~SampleStream() = default;

bool SampleStream::drawShuffled() {
    drawn_ = true;
    SequentialSample ranks(total_, size_, random_);
    shuffled_.reserve(static_cast<std::size_t>(size_));
    while (const auto rank = ranks.next()) {
        shuffled_.push_back(*rank);
        if (stop_ && shuffled_.size() % kStopAskEvery == 0 && stop_()) {
            fault_ = RunFault::Stopped;
            return false;
        }
    }
    // Fisher and Yates, with the same generator: the order is the seed's too.
    for (std::size_t at = shuffled_.size(); at > 1; --at) {
        std::swap(shuffled_[at - 1], shuffled_[static_cast<std::size_t>(random_.below(at))]);
        if (stop_ && at % kStopAskEvery == 0 && stop_()) {
            fault_ = RunFault::Stopped;
            return false;
        }
    }
    return true;
}

std::size_t SampleStream::next(std::size_t maxNumbers, std::string& out) {
    if (finished() || (shuffle_ && !drawn_ && !drawShuffled())) {
        return 0;
    }
    std::size_t count = 0;
    while (count < maxNumbers && written_ < size_) {
        const std::uint64_t rank =
            shuffle_ ? shuffled_[static_cast<std::size_t>(written_)] : ascending_->next().value();
        parts_->append(rank, out);
        out.append(lineEnd_);
        ++count;
        if (++written_ % kStopAskEvery == 0 && stop_ && stop_()) {
            fault_ = RunFault::Stopped;
            break;
        }
    }
    return count;
}

}  // namespace haoma::generate
