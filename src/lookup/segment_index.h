// SPDX-License-Identifier: MIT
#pragma once
// Every segment of a store held in memory, for looking up many numbers at once.

#include <cstdint>
#include <string_view>
#include <vector>

#include "lookup/segment_store.h"

namespace haoma::lookup {

enum class NumberVerdict {
    Found,      // the store knows the number's segment
    Malformed,  // not 7 to 11 ASCII digits
    NotMobile,  // does not begin with 13 to 19
    Unknown,    // a mobile number whose segment the store does not hold
};

struct NumberLookup {
    NumberVerdict verdict;
    const SegmentPlace* place;  // with Found, else nullptr
};

class SegmentIndex {
  public:
    // Takes the rows of a store (SegmentStore::places); rows whose segment is not seven
    // digits are left out.
    explicit SegmentIndex(std::vector<SegmentPlace> places);

    // What the store says of a number of 7 to 11 digits, by its first seven.
    NumberLookup find(std::string_view number) const;

    std::size_t size() const { return places_.size(); }

  private:
    std::vector<SegmentPlace> places_;
    std::vector<std::uint32_t> slots_;  // by segment - 1000000: index into places_ + 1
};

}  // namespace haoma::lookup
