// SPDX-License-Identifier: MIT
#pragma once
// The mainland mobile numbering plan: which carrier a segment belongs to.

#include <optional>
#include <string_view>

namespace haoma::lookup {

// The carrier ("Corp") of a 7-digit segment by its first three or four digits: 中国移动,
// 中国联通, 中国电信, 中国广电, a virtual operator's range marked with its host network
// (for example "中国移动(虚拟运营商)"), or a satellite range of 中国电信. Nothing when
// the plan does not allocate the range or the text is not seven digits.
std::optional<std::string_view> carrierOfSegment(std::string_view segment);

}  // namespace haoma::lookup
