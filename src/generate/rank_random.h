// SPDX-License-Identifier: MIT
#pragma once
// The random numbers of samples: xoshiro256** (Blackman and Vigna), seeded through
// splitmix64. Small, fast and defined to the bit, so that one seed gives one sample on every
// system and in every build.

#include <cstdint>

namespace haoma::generate {

class RankRandom {
  public:
    using result_type = std::uint64_t;
    static constexpr result_type min() { return 0; }
    static constexpr result_type max() { return UINT64_MAX; }

    explicit RankRandom(std::uint64_t seed) {
        for (auto& word : state_) {
            seed += 0x9E3779B97F4A7C15ULL;
            std::uint64_t z = seed;
            z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
            z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
            word = z ^ (z >> 31);
        }
    }

    result_type operator()() {
        const std::uint64_t result = rotate(state_[1] * 5, 7) * 9;
        const std::uint64_t shifted = state_[1] << 17;
        state_[2] ^= state_[0];
        state_[3] ^= state_[1];
        state_[1] ^= state_[2];
        state_[0] ^= state_[3];
        state_[2] ^= shifted;
        state_[3] = rotate(state_[3], 45);
        return result;
    }

    // A number below `bound` (not 0), uniformly: the bits past the largest multiple of
    // `bound` are drawn again.
    std::uint64_t below(std::uint64_t bound) {
        const std::uint64_t usable = UINT64_MAX - UINT64_MAX % bound;
        for (;;) {
            if (const std::uint64_t value = (*this)(); value < usable) {
                return value % bound;
            }
        }
    }

    // A number in (0, 1): 53 random bits, centred in their interval.
    double uniform() { return (static_cast<double>((*this)() >> 11) + 0.5) * 0x1.0p-53; }

  private:
    static std::uint64_t rotate(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    std::uint64_t state_[4]{};
};

}  // namespace haoma::generate
