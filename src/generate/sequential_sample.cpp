// SPDX-License-Identifier: MIT
#include "generate/sequential_sample.h"

#include <array>
#include <cmath>

namespace haoma::generate {
namespace {

// Method D pays off while the sample is sparse; past one record in thirteen, method A's
// simple search is faster (Vitter's threshold).
constexpr double kDenseRatio = 13.0;
constexpr double kLn2 = 0.693147180559945309417232121458176568;

// The logarithm and the exponential from additions, multiplications and divisions alone,
// which IEEE arithmetic rounds the same on every system: a seed must give the same sample
// wherever it runs, and the math libraries of two systems may differ in a last bit. Each
// reads a small table (made once, by long series) and sums a short polynomial.

// ln(1 + u) for |u| < 1/128, to the last bit that matters here.
double logOnePlus(double u) {
    const double u2 = u * u;
    const double u4 = u2 * u2;
    const double low = u - u2 * (0.5 - u * (1.0 / 3.0));
    const double high = (1.0 / 4.0 - u * (1.0 / 5.0)) + u2 * (1.0 / 6.0 - u * (1.0 / 7.0));
    return low - u4 * high;
}

// e^r for |r| < 1/128.
double expSmall(double r) {
    const double r2 = r * r;
    return 1.0 + r + r2 * ((0.5 + r * (1.0 / 6.0)) + r2 * (1.0 / 24.0 + r * (1.0 / 120.0)));
}

struct Tables {
    std::array<double, 129> logOfStep;      // ln(1 + j / 128)
    std::array<double, 129> inverseOfStep;  // 1 / (1 + j / 128)
    std::array<double, 64> powerOfTwo;      // 2^(j / 64)
};

const Tables& tables() {
    static const Tables made = [] {
        Tables t{};
        for (std::size_t j = 0; j < t.logOfStep.size(); ++j) {
            const double c = 1.0 + static_cast<double>(j) / 128.0;
            // ln c = 2 atanh(s), s = (c - 1) / (c + 1): the series until it stops changing.
            const double s = (c - 1.0) / (c + 1.0);
            double term = s;
            double sum = 0.0;
            for (int odd = 1; odd < 200; odd += 2, term *= s * s) {
                sum += term / odd;
            }
            t.logOfStep[j] = 2.0 * sum;
            t.inverseOfStep[j] = 1.0 / c;
        }
        for (std::size_t j = 0; j < t.powerOfTwo.size(); ++j) {
            const double x = static_cast<double>(j) * kLn2 / 64.0;
            double term = 1.0;
            double sum = 0.0;
            for (int k = 1; k < 40; ++k) {
                sum += term;
                term *= x / k;
            }
            t.powerOfTwo[j] = sum;
        }
        return t;
    }();
    return made;
}

double logarithm(double x) {
    int exponent = 0;
    const double mantissa = 2.0 * std::frexp(x, &exponent);  // exact: [1, 2)
    const auto step = static_cast<std::size_t>((mantissa - 1.0) * 128.0);
    const double c = 1.0 + static_cast<double>(step) / 128.0;
    const Tables& t = tables();
    return static_cast<double>(exponent - 1) * kLn2 + t.logOfStep[step] +
           logOnePlus((mantissa - c) * t.inverseOfStep[step]);
}

double exponential(double x) {
    if (x < -745.0) {
        return 0.0;
    }
    // x = (64 q + j) ln 2 / 64 + r: e^x = 2^q 2^(j / 64) e^r.
    const double k = std::nearbyint(x * (64.0 / kLn2));
    const double r = x - k * (kLn2 / 64.0);
    const auto whole = static_cast<long long>(k);
    const long long j = ((whole % 64) + 64) % 64;
    const long long q = (whole - j) / 64;
    return std::ldexp(tables().powerOfTwo[static_cast<std::size_t>(j)] * expSmall(r),
                      static_cast<int>(q));
}

// The product of (top - i) / (bottom - i) for i from 0 while top - i >= limit: the exact
// ratio of method D's rejection test, sixteen factors to one division.
double fallingRatio(double top, double bottom, double limit) {
    double ratio = 1.0;
    while (top >= limit) {
        double numerator = 1.0;
        double denominator = 1.0;
        for (int factor = 0; factor < 16 && top >= limit; ++factor) {
            numerator *= top;
            denominator *= bottom;
            top -= 1.0;
            bottom -= 1.0;
        }
        ratio *= numerator / denominator;
    }
    return ratio;
}

}  // namespace

SequentialSample::SequentialSample(std::uint64_t population, std::uint64_t wanted,
                                   RankRandom& random)
    : random_(random),
      population_(population),
      wanted_(wanted < population ? wanted : population) {}

void SequentialSample::carry() {
    if (!carried_) {
        vPrime_ = exponential(logarithm(random_.uniform()) / static_cast<double>(wanted_));
        carried_ = true;
    }
}

std::optional<std::uint64_t> SequentialSample::next() {
    if (wanted_ == 0) {
        return std::nullopt;
    }
    std::uint64_t skip = 0;
    if (wanted_ == population_) {
        skip = 0;
    } else if (wanted_ == 1) {
        carry();
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

// Method A: the skip found by walking its distribution, record by record. The running
// quotient is kept as a numerator and a denominator, so each record costs multiplications
// only; both are scaled down together before they could overflow.
std::uint64_t SequentialSample::skipA() {
    const auto n = static_cast<double>(wanted_);
    double top = static_cast<double>(population_) - n;
    double records = static_cast<double>(population_);
    const double v = random_.uniform();
    std::uint64_t skip = 0;
    double numerator = top;
    double denominator = records;
    while (numerator > v * denominator) {
        ++skip;
        top -= 1.0;
        records -= 1.0;
        numerator *= top;
        denominator *= records;
        if (denominator > 0x1.0p900) {
            numerator *= 0x1.0p-900;
            denominator *= 0x1.0p-900;
        }
    }
    carried_ = false;  // method D, if it comes back, draws its uniform afresh
    return skip;
}

// Method D: the skip drawn from a continuous envelope and accepted by a squeeze, rarely by
// the exact ratio of falling products.
std::uint64_t SequentialSample::skipD() {
    const auto n = static_cast<double>(wanted_);
    const auto records = static_cast<double>(population_);
    const double nMinus1Inverse = 1.0 / (n - 1.0);
    const double qu1 = records - n + 1.0;
    carry();
    for (;;) {
        double x = 0;
        double s = 0;
        for (;;) {
            x = records * (1.0 - vPrime_);
            s = std::floor(x);
            if (s < qu1) {
                break;
            }
            vPrime_ = exponential(logarithm(random_.uniform()) / n);
        }
        const double u = random_.uniform();
        const double y1 = exponential(logarithm(u * records / qu1) * nMinus1Inverse);
        vPrime_ = y1 * (1.0 - x / records) * (qu1 / (qu1 - s));
        if (vPrime_ <= 1.0) {
            return static_cast<std::uint64_t>(s);  // the squeeze accepts it
        }
        const bool shortSkip = n - 1.0 > s;
        const double y2 = fallingRatio(records - 1.0, shortSkip ? records - n : records - s - 1.0,
                                       shortSkip ? records - s : qu1);
        if (records / (records - x) >= y1 * exponential(logarithm(y2) * nMinus1Inverse)) {
            vPrime_ = exponential(logarithm(random_.uniform()) * nMinus1Inverse);
            return static_cast<std::uint64_t>(s);
        }
        vPrime_ = exponential(logarithm(random_.uniform()) / n);
    }
}

}  // namespace haoma::generate
