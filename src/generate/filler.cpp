// SPDX-License-Identifier: MIT
#include "generate/filler.h"

#include <cstring>

namespace haoma::generate {

void FillerOdometer::reset() {
    if (width_ > 0) {
        std::memset(digits_, '0', static_cast<std::size_t>(width_));
    }
}

bool FillerOdometer::carryFrom(int position) {
    for (int i = position; i >= 0; --i) {
        if (digits_[i] != '9') {
            ++digits_[i];
            return true;
        }
        digits_[i] = '0';
    }
    return false;
}

bool FillerOdometer::advance() {
    return carryFrom(width_ - 1);
}

bool FillerOdometer::advanceGroupOfTen() {
    if (width_ == 0) {
        return false;
    }
    digits_[width_ - 1] = '0';
    return carryFrom(width_ - 2);
}

bool FillerOdometer::advanceGroup(int digits) {
    return carryFrom(width_ - digits - 1);
}

bool FillerOdometer::zerosAtEnd(int digits) const {
    for (int i = width_ - digits; i < width_; ++i) {
        if (digits_[i] != '0') {
            return false;
        }
    }
    return true;
}

}  // namespace haoma::generate
