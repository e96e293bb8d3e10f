// SPDX-License-Identifier: MIT
#pragma once
// Fillers: every digit string of a width, in ascending order, produced one at a time.

#include <cstddef>

namespace haoma::generate {

inline constexpr int kNumberLength = 11;

// An odometer over `width` decimal digits kept in place inside a caller's buffer; a light
// view that holds no state of its own beyond where the digits are.
// Width 0 has exactly one (empty) filler.
class FillerOdometer {
  public:
    FillerOdometer(char* digits, int width) : digits_(digits), width_(width) {}

    // Sets the digits to the first filler, all zeros.
    void reset();

    // Moves to the next filler; false when the last one (all nines) has been passed, after
    // which the digits read all zeros again.
    bool advance();

    // Moves past the fillers that only differ in the last digit, leaving it at '0';
    // false when the last group has been passed.
    bool advanceGroupOfTen();
    // Moves past the fillers that only differ in the last `digits` digits (which must read
    // all zeros); false when the last group has been passed.
    bool advanceGroup(int digits);
    // Whether the last `digits` digits read all zeros.
    bool zerosAtEnd(int digits) const;

    // The last digit of the filler, or '\0' for the empty filler.
    char lastDigit() const { return width_ > 0 ? digits_[width_ - 1] : '\0'; }
    int width() const { return width_; }

  private:
    bool carryFrom(int position);

    char* digits_;
    int width_;
};

}  // namespace haoma::generate
