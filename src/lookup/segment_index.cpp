// SPDX-License-Identifier: MIT
#include "lookup/segment_index.h"

#include <algorithm>
#include <map>

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

SegmentIndex::SegmentIndex(const SegmentStore& store) : slots_(kSegmentSlots, 0) {
    if (!readPlaceArray(store)) {
        readRows(store);
    }
}

// The place array the store carries: one blob and a table of a few thousand places, read
// in milliseconds. False when the store has none, or one that does not hold together.
bool SegmentIndex::readPlaceArray(const SegmentStore& store) {
    const auto slots = store.placeSlots();
    if (!slots || slots->size() != 2 * kSegmentSlots) {
        return false;
    }
    bool ordered = true;
    const std::string error =
        store.visitPlaceTable([&](std::int64_t id, std::string_view province, std::string_view city,
                                  std::string_view corp, std::string_view areaCode) {
            ordered = ordered && id == static_cast<std::int64_t>(facts_.size()) + 1;
            facts_.push_back({std::string(province), std::string(city), std::string(corp),
                              std::string(areaCode)});
        });
    if (!error.empty() || !ordered) {
        facts_.clear();
        return false;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(slots->data());
    for (std::size_t at = 0; at < kSegmentSlots; ++at) {
        const std::uint32_t id = bytes[2 * at] | static_cast<std::uint32_t>(bytes[2 * at + 1]) << 8;
        if (id > facts_.size()) {
            facts_.clear();
            segments_ = 0;
            std::fill(slots_.begin(), slots_.end(), 0);
            return false;
        }
        slots_[at] = id;
        segments_ += id != 0 ? 1 : 0;
    }
    return true;
}

void SegmentIndex::readRows(const SegmentStore& store) {
    // Rows come ordered by Mobile, so the rows of one place are rarely together; the places
    // are few (a few thousand), so they are found through a map of their own.
    std::map<SegmentFacts, std::uint32_t, std::less<>> known;
    SegmentFacts facts;
    error_ = store.visitPlaces([&](std::string_view segment, std::string_view province,
                                   std::string_view city, std::string_view corp,
                                   std::string_view areaCode) {
        if (segment.size() != 7 || segment[0] != '1' ||
            !std::all_of(segment.begin(), segment.end(), isDigit)) {
            return;
        }
        facts.province.assign(province);
        facts.city.assign(city);
        facts.corp.assign(corp);
        facts.areaCode.assign(areaCode);
        auto entry = known.find(facts);
        if (entry == known.end()) {
            entry = known.emplace(facts, static_cast<std::uint32_t>(facts_.size())).first;
            facts_.push_back(facts);
        }
        std::uint32_t& slot = slots_[segmentValue(segment) - kFirstSegment];
        segments_ += slot == 0 ? 1 : 0;
        slot = entry->second + 1;
    });
}

NumberLookup SegmentIndex::find(std::string_view number) const {
    // One pass over the digits, the segment's value taken on the way: the hot loop of
    // looking up millions of numbers.
    if (number.size() < 7 || number.size() > 11) {
        return {NumberVerdict::Malformed, 0};
    }
    std::uint32_t value = 0;
    for (std::size_t at = 0; at < number.size(); ++at) {
        const auto digit = static_cast<unsigned char>(number[at] - '0');
        if (digit > 9) {
            return {NumberVerdict::Malformed, 0};
        }
        if (at < 7) {
            value = value * 10 + digit;
        }
    }
    if (number[0] != '1' || number[1] < '3') {
        return {NumberVerdict::NotMobile, 0};
    }
    const std::uint32_t slot = slots_[value - kFirstSegment];
    if (slot == 0) {
        return {NumberVerdict::Unknown, 0};
    }
    return {NumberVerdict::Found, slot - 1};
}

}  // namespace haoma::lookup
