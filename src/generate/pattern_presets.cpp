// SPDX-License-Identifier: MIT
#include "generate/pattern_presets.h"

#include <array>

#include "text/text.h"

namespace haoma::generate {
namespace {

// A month and a day that exist (29 February included), as the last four digits.
constexpr std::string_view kBirthday =
    "0[13578]0[1-9],0[13578][12]*,0[13578]3[01],1[02]0[1-9],1[02][12]*,1[02]3[01],"
    "0[469]0[1-9],0[469][12]*,0[469]30,110[1-9],11[12]*,1130,"
    "020[1-9],02[12]*";

constexpr std::array kPresets = {
    PatternPreset{"aaaaa", "AAAAA", "five of a kind at the end", "尾号五连号 AAAAA"},
    PatternPreset{"aaaaaa", "AAAAAA", "six of a kind at the end", "尾号六连号 AAAAAA"},
    PatternPreset{"aaaaaaa", "AAAAAAA", "seven of a kind at the end", "尾号七连号 AAAAAAA"},
    PatternPreset{"abcde", "A++++", "an ascending run of five (01234 ... 56789)",
                  "五位顺子 ABCDE（01234…56789）"},
    PatternPreset{"edcba", "A----", "a descending run of five (98765 ... 43210)",
                  "五位倒顺 EDCBA（98765…43210）"},
    PatternPreset{"aabbcc", "AABBCC", "three different pairs", "三个对子 AABBCC"},
    PatternPreset{"abcabc", "ABCABC", "three different digits, twice", "三位重复 ABCABC"},
    PatternPreset{"aaab", "AAAB", "three of a kind and another digit", "三同加一 AAAB"},
    PatternPreset{"abbb", "ABBB", "a digit and three of another kind", "一加三同 ABBB"},
    PatternPreset{"aabb", "AABB", "two different pairs", "两个对子 AABB"},
    PatternPreset{"love", "520,520*,521,521*,1314", "520, 521 or 1314 in the last four digits",
                  "爱情号 520/521/1314"},
    PatternPreset{"birthday", kBirthday, "a real month and day (MMDD) as the last four digits",
                  "生日 MMDD（真实的月和日）"},
    PatternPreset{"year", "19**,20**", "a year 19xx or 20xx as the last four digits",
                  "年份 19xx/20xx"},
};

}  // namespace

std::span<const PatternPreset> patternPresets() {
    return kPresets;
}

std::optional<PatternPreset> patternPresetByName(std::string_view name) {
    const std::string lower = text::toLowerAscii(name);
    for (const auto& preset : kPresets) {
        if (preset.name == lower) {
            return preset;
        }
    }
    return std::nullopt;
}

}  // namespace haoma::generate
