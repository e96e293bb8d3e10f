// SPDX-License-Identifier: MIT
#pragma once
// Named patterns for what people ask for most, each defined in one table as a pattern list.

#include <optional>
#include <span>
#include <string_view>

namespace haoma::generate {

struct PatternPreset {
    std::string_view name;      // lower case
    std::string_view patterns;  // a comma-separated pattern list
    std::string_view meaning;
    std::string_view label;  // what the window's preset list shows, in Chinese
};

std::span<const PatternPreset> patternPresets();

// The preset of that name, in any case; nothing for another name.
std::optional<PatternPreset> patternPresetByName(std::string_view name);

}  // namespace haoma::generate
