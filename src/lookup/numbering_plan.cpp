// SPDX-License-Identifier: MIT
#include "lookup/numbering_plan.h"

#include <algorithm>
#include <array>

namespace haoma::lookup {
namespace {

constexpr std::string_view kMobile = "中国移动";
constexpr std::string_view kUnicom = "中国联通";
constexpr std::string_view kTelecom = "中国电信";
constexpr std::string_view kBroadnet = "中国广电";
constexpr std::string_view kMobileVirtual = "中国移动(虚拟运营商)";
constexpr std::string_view kUnicomVirtual = "中国联通(虚拟运营商)";
constexpr std::string_view kTelecomVirtual = "中国电信(虚拟运营商)";
constexpr std::string_view kTelecomSatellite = "中国电信(卫星通信)";

struct Allocation {
    std::string_view prefix;  // three or four digits; the four-digit rows win
    std::string_view carrier;
};

// Public mobile ranges of the plan. Data-only ranges (140, 141, 144, 146, 148) carry no
// numbers people dial and are left out, as are ranges not allocated (154, 179).
constexpr std::array kPlan = {
    Allocation{"130", kUnicom},
    Allocation{"131", kUnicom},
    Allocation{"132", kUnicom},
    Allocation{"133", kTelecom},
    Allocation{"134", kMobile},
    Allocation{"1349", kTelecomSatellite},
    Allocation{"135", kMobile},
    Allocation{"136", kMobile},
    Allocation{"137", kMobile},
    Allocation{"138", kMobile},
    Allocation{"139", kMobile},
    Allocation{"145", kUnicom},
    Allocation{"147", kMobile},
    Allocation{"149", kTelecom},
    Allocation{"150", kMobile},
    Allocation{"151", kMobile},
    Allocation{"152", kMobile},
    Allocation{"153", kTelecom},
    Allocation{"155", kUnicom},
    Allocation{"156", kUnicom},
    Allocation{"157", kMobile},
    Allocation{"158", kMobile},
    Allocation{"159", kMobile},
    Allocation{"162", kTelecomVirtual},
    Allocation{"165", kMobileVirtual},
    Allocation{"166", kUnicom},
    Allocation{"167", kUnicomVirtual},
    Allocation{"1700", kTelecomVirtual},
    Allocation{"1701", kTelecomVirtual},
    Allocation{"1702", kTelecomVirtual},
    Allocation{"1703", kMobileVirtual},
    Allocation{"1704", kUnicomVirtual},
    Allocation{"1705", kMobileVirtual},
    Allocation{"1706", kMobileVirtual},
    Allocation{"1707", kUnicomVirtual},
    Allocation{"1708", kUnicomVirtual},
    Allocation{"1709", kUnicomVirtual},
    Allocation{"171", kUnicomVirtual},
    Allocation{"172", kMobile},
    Allocation{"173", kTelecom},
    Allocation{"1740", kTelecomSatellite},
    Allocation{"1741", kTelecomSatellite},
    Allocation{"1742", kTelecomSatellite},
    Allocation{"1743", kTelecomSatellite},
    Allocation{"1744", kTelecomSatellite},
    Allocation{"1745", kTelecomSatellite},
    Allocation{"175", kUnicom},
    Allocation{"176", kUnicom},
    Allocation{"177", kTelecom},
    Allocation{"178", kMobile},
    Allocation{"180", kTelecom},
    Allocation{"181", kTelecom},
    Allocation{"182", kMobile},
    Allocation{"183", kMobile},
    Allocation{"184", kMobile},
    Allocation{"185", kUnicom},
    Allocation{"186", kUnicom},
    Allocation{"187", kMobile},
    Allocation{"188", kMobile},
    Allocation{"189", kTelecom},
    Allocation{"190", kTelecom},
    Allocation{"191", kTelecom},
    Allocation{"192", kBroadnet},
    Allocation{"193", kTelecom},
    Allocation{"195", kMobile},
    Allocation{"196", kUnicom},
    Allocation{"197", kMobile},
    Allocation{"198", kMobile},
    Allocation{"199", kTelecom},
};

}  // namespace

std::optional<std::string_view> carrierOfSegment(std::string_view segment) {
    if (segment.size() != 7 ||
        !std::all_of(segment.begin(), segment.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    std::optional<std::string_view> found;
    for (const auto& allocation : kPlan) {
        if (segment.starts_with(allocation.prefix) && (!found || allocation.prefix.size() == 4)) {
            found = allocation.carrier;
        }
    }
    return found;
}

}  // namespace haoma::lookup
