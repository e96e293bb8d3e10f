// SPDX-License-Identifier: MIT
#pragma once
// Every segment of a store held in memory, for looking up many numbers at once.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lookup/segment_store.h"

namespace haoma::lookup {

// What a lookup found of a number; the kinds after Unknown are those of pasted or piped
// input, which WhereLines tells apart.
enum class NumberVerdict {
    Found,      // the store knows the number's segment
    Malformed,  // not 7 to 11 ASCII digits
    NotMobile,  // does not begin with 13 to 19
    Unknown,    // a mobile number whose segment the store does not hold
    Empty,      // an input line with no number in it
    CodeOnly,   // a country code (+86, 0086) without a number
    Foreign,    // a number with another country's code (+852 …)
    TooLong,    // an input line too long to read (over 1 MiB)
};

// What the store says of a segment besides the segment itself; many segments share one.
struct SegmentFacts {
    std::string province;
    std::string city;
    std::string corp;
    std::string areaCode;
    auto operator<=>(const SegmentFacts&) const = default;
};

struct NumberLookup {
    NumberVerdict verdict;
    std::uint32_t facts;  // with Found: the index of its facts
};

class SegmentIndex {
  public:
    // Reads every row of the store; rows whose segment is not seven digits beginning with 1
    // are left out. error() says why the store could not be read whole.
    explicit SegmentIndex(const SegmentStore& store);
    const std::string& error() const { return error_; }

    // What the store says of a number of 7 to 11 digits, by its first seven.
    NumberLookup find(std::string_view number) const;

    // The distinct facts, indexed by NumberLookup::facts.
    const std::vector<SegmentFacts>& facts() const { return facts_; }
    std::size_t segmentCount() const { return segments_; }

  private:
    bool readPlaceArray(const SegmentStore& store);
    void readRows(const SegmentStore& store);

    std::vector<SegmentFacts> facts_;
    std::vector<std::uint32_t> slots_;  // by segment - 1000000: index into facts_ + 1
    std::size_t segments_ = 0;
    std::string error_;
};

}  // namespace haoma::lookup
