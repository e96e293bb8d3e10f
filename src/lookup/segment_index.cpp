// SPDX-License-Identifier: MIT
#include "lookup/segment_index.h"

#include <algorithm>

namespace haoma::lookup {
namespace {

constexpr std::uint32_t kFirstSegment = 1000000;
constexpr std::uint32_t kSegmentSlots = 1000000;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::uint32_t segmentValue(std::string_view digits) {
    std::uint32_t value = 0;
    for (const char c : digits.substr(0, 7)) {
        value = value * 10 + static_cast<std::uint32_t>(c - '0');
    }
    return value;
}

}  // namespace

SegmentIndex::SegmentIndex(std::vector<SegmentPlace> places) : slots_(kSegmentSlots, 0) {
    std::erase_if(places, [](const SegmentPlace& place) {
        return place.segment.size() != 7 || place.segment[0] != '1' ||
               !std::all_of(place.segment.begin(), place.segment.end(), isDigit);
    });
    places_ = std::move(places);
    for (std::size_t i = 0; i < places_.size(); ++i) {
        slots_[segmentValue(places_[i].segment) - kFirstSegment] =
            static_cast<std::uint32_t>(i + 1);
    }
}

NumberLookup SegmentIndex::find(std::string_view number) const {
    if (number.size() < 7 || number.size() > 11 ||
        !std::all_of(number.begin(), number.end(), isDigit)) {
        return {NumberVerdict::Malformed, nullptr};
    }
    if (number[0] != '1' || number[1] < '3') {
        return {NumberVerdict::NotMobile, nullptr};
    }
    const std::uint32_t slot = slots_[segmentValue(number) - kFirstSegment];
    if (slot == 0) {
        return {NumberVerdict::Unknown, nullptr};
    }
    return {NumberVerdict::Found, &places_[slot - 1]};
}

}  // namespace haoma::lookup
