// SPDX-License-Identifier: MIT
#pragma once
// Distinct ranks drawn uniformly, the ground of every sample.

#include <cstdint>
#include <random>
#include <vector>

namespace haoma::generate {

// min(wanted, total) distinct ranks below `total`, each set of them equally likely, in
// ascending order; memory for the ranks only.
std::vector<std::uint64_t> distinctRanks(std::uint64_t total, std::uint64_t wanted,
                                         std::mt19937_64& random);

}  // namespace haoma::generate
