// SPDX-License-Identifier: MIT
#pragma once
// Distinct ranks drawn uniformly, the ground of every sample; how a seed makes a sample; how
// many numbers a run prints.

#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace haoma::generate {

// min(wanted, total) distinct ranks below `total`, each set of them equally likely, in
// ascending order; memory for the ranks only.
std::vector<std::uint64_t> distinctRanks(std::uint64_t total, std::uint64_t wanted,
                                         std::mt19937_64& random);

// Draws the numbers of a sample, nothing when stopped.
using SampleDraw = std::function<std::optional<std::vector<std::string>>(std::mt19937_64&)>;

// The sample as it is printed: drawn with a generator seeded by `seed`, then put in random
// order by the same generator when `shuffle`. Every sample is made this way, so one seed
// gives the same numbers in the window and on the command line.
std::optional<std::vector<std::string>> seededSample(std::uint64_t seed, bool shuffle,
                                                     const SampleDraw& draw);

// How many numbers a run of `total` numbers prints: all of them up to `limit`, or a sample
// of `sample` of them, again up to `limit`.
std::uint64_t numbersGiven(std::uint64_t total, std::optional<std::uint64_t> limit,
                           std::optional<std::uint64_t> sample);

}  // namespace haoma::generate
