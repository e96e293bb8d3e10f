// SPDX-License-Identifier: MIT
#include <windows.h>

#include <array>

#include "platform/code_page.h"

namespace haoma::platform {

GbkEncoder::GbkEncoder() : handle_(nullptr) {}

GbkEncoder::~GbkEncoder() = default;

int GbkEncoder::append(char32_t cp, std::string& out) {
    std::array<wchar_t, 2> wide{};
    int units = 1;
    if (cp >= 0x10000) {
        wide[0] = static_cast<wchar_t>(0xD800 + ((cp - 0x10000) >> 10));
        wide[1] = static_cast<wchar_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        units = 2;
    } else {
        wide[0] = static_cast<wchar_t>(cp);
    }
    std::array<char, 8> bytes{};
    BOOL usedDefault = FALSE;
    // No best fit: a character the code page lacks is lacking, not a look-alike.
    const int written =
        WideCharToMultiByte(936, WC_NO_BEST_FIT_CHARS, wide.data(), units, bytes.data(),
                            static_cast<int>(bytes.size()), nullptr, &usedDefault);
    if (written <= 0 || usedDefault) {
        return 0;
    }
    out.append(bytes.data(), static_cast<std::size_t>(written));
    return written;
}

}  // namespace haoma::platform
