// SPDX-License-Identifier: MIT
#include "generate/sample_ranks.h"

#include <algorithm>
#include <unordered_set>

namespace haoma::generate {

std::vector<std::uint64_t> distinctRanks(std::uint64_t total, std::uint64_t wanted,
                                         std::mt19937_64& random) {
    std::vector<std::uint64_t> ranks;
    if (wanted >= total) {
        ranks.resize(static_cast<std::size_t>(total));
        for (std::uint64_t i = 0; i < total; ++i) {
            ranks[static_cast<std::size_t>(i)] = i;
        }
        return ranks;
    }
    // Floyd's method: one draw for each rank.
    std::unordered_set<std::uint64_t> chosen;
    chosen.reserve(static_cast<std::size_t>(wanted) * 2);
    for (std::uint64_t j = total - wanted; j < total; ++j) {
        const std::uint64_t pick = std::uniform_int_distribution<std::uint64_t>(0, j)(random);
        chosen.insert(chosen.contains(pick) ? j : pick);
    }
    ranks.assign(chosen.begin(), chosen.end());
    std::sort(ranks.begin(), ranks.end());
    return ranks;
}

std::optional<std::vector<std::string>> seededSample(std::uint64_t seed, bool shuffle,
                                                     const SampleDraw& draw) {
    std::mt19937_64 random(seed);
    auto numbers = draw(random);
    if (numbers && shuffle) {
        std::shuffle(numbers->begin(), numbers->end(), random);
    }
    return numbers;
}

std::uint64_t numbersGiven(std::uint64_t total, std::optional<std::uint64_t> limit,
                           std::optional<std::uint64_t> sample) {
    return std::min({total, limit.value_or(UINT64_MAX), sample.value_or(UINT64_MAX)});
}

}  // namespace haoma::generate
