// SPDX-License-Identifier: MIT
#include "generate/sequential_sample.h"

#include <cmath>

namespace haoma::generate {
namespace {

// Method D pays off while the sample is sparse; past one record in thirteen, method A's
// simple search is faster (Vitter's threshold).
constexpr double kDenseRatio = 13.0;

}  // namespace

SequentialSample::SequentialSample(std::uint64_t population, std::uint64_t wanted,
                                   std::mt19937_64& random)
    : random_(random), population_(population), wanted_(wanted < population ? wanted : population) {
    if (wanted_ > 0) {
        vPrime_ = std::exp(std::log(uniform()) / static_cast<double>(wanted_));
    }
}

double SequentialSample::uniform() {
    // 53 random bits, centred in their interval: never 0, never 1.
    return (static_cast<double>(random_() >> 11) + 0.5) * 0x1.0p-53;
}

std::optional<std::uint64_t> SequentialSample::next() {
    if (wanted_ == 0) {
        return std::nullopt;
    }
    std::uint64_t skip = 0;
    if (wanted_ == population_) {
        skip = 0;
    } else if (wanted_ == 1) {
        skip = static_cast<std::uint64_t>(std::floor(static_cast<double>(population_) * vPrime_));
        skip = skip < population_ ? skip : population_ - 1;
    } else if (static_cast<double>(wanted_) * kDenseRatio > static_cast<double>(population_)) {
        skip = skipA();
    } else {
        skip = skipD();
    }
    const std::uint64_t rank = position_ + skip;
    position_ = rank + 1;
    population_ -= skip + 1;
    --wanted_;
    return rank;
}

// Method A: the skip found by walking its distribution, record by record.
std::uint64_t SequentialSample::skipA() {
    const auto n = static_cast<double>(wanted_);
    double top = static_cast<double>(population_) - n;
    double records = static_cast<double>(population_);
    const double v = uniform();
    std::uint64_t skip = 0;
    double quotient = top / records;
    while (quotient > v) {
        ++skip;
        top -= 1.0;
        records -= 1.0;
        quotient *= top / records;
    }
    // The next draw by method D needs its carried uniform for one fewer rank.
    vPrime_ = std::exp(std::log(uniform()) / (n - 1.0));
    return skip;
}

// Method D: the skip drawn from a continuous envelope and accepted by a squeeze, rarely by
// the exact ratio of falling products.
std::uint64_t SequentialSample::skipD() {
    const auto n = static_cast<double>(wanted_);
    const auto records = static_cast<double>(population_);
    const double nMinus1Inverse = 1.0 / (n - 1.0);
    const double qu1 = records - n + 1.0;
    for (;;) {
        double x = 0;
        double s = 0;
        for (;;) {
            x = records * (1.0 - vPrime_);
            s = std::floor(x);
            if (s < qu1) {
                break;
            }
            vPrime_ = std::exp(std::log(uniform()) / n);
        }
        const double u = uniform();
        const double y1 = std::exp(std::log(u * records / qu1) * nMinus1Inverse);
        vPrime_ = y1 * (1.0 - x / records) * (qu1 / (qu1 - s));
        if (vPrime_ <= 1.0) {
            return static_cast<std::uint64_t>(s);  // the squeeze accepts it
        }
        double y2 = 1.0;
        double top = records - 1.0;
        double bottom = 0;
        double limit = 0;
        if (n - 1.0 > s) {
            bottom = records - n;
            limit = records - s;
        } else {
            bottom = records - s - 1.0;
            limit = qu1;
        }
        for (double t = records - 1.0; t >= limit; t -= 1.0) {
            y2 = y2 * top / bottom;
            top -= 1.0;
            bottom -= 1.0;
        }
        if (records / (records - x) >= y1 * std::exp(std::log(y2) * nMinus1Inverse)) {
            vPrime_ = std::exp(std::log(uniform()) * nMinus1Inverse);
            return static_cast<std::uint64_t>(s);
        }
        vPrime_ = std::exp(std::log(uniform()) / n);
    }
}

}  // namespace haoma::generate
