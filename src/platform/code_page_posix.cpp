// SPDX-License-Identifier: MIT
#include <iconv.h>

#include <array>
#include <cstdint>

#include "platform/code_page.h"

namespace haoma::platform {
namespace {

iconv_t invalid() {
    return reinterpret_cast<iconv_t>(-1);
}

}  // namespace

GbkEncoder::GbkEncoder() : handle_(iconv_open("GBK", "UTF-32LE")) {}

GbkEncoder::~GbkEncoder() {
    if (handle_ != invalid()) {
        iconv_close(handle_);
    }
}

int GbkEncoder::append(char32_t cp, std::string& out) {
    std::array<char, 4> in{};
    for (std::size_t i = 0; i < 4; ++i) {
        in[i] = static_cast<char>((static_cast<std::uint32_t>(cp) >> (8U * i)) & 0xFFU);
    }
    std::array<char, 8> buffer{};
    char* inPtr = in.data();
    std::size_t inLeft = in.size();
    char* outPtr = buffer.data();
    std::size_t outLeft = buffer.size();
    // iconv drops some characters silently (the tag characters U+E0000-U+E007F): GBK has none
    // of them, so an empty answer is a character it lacks like the rest.
    if (handle_ == invalid() ||
        iconv(handle_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) ||
        outLeft == buffer.size()) {
        if (handle_ != invalid()) {
            iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        }
        return 0;
    }
    const auto written = buffer.size() - outLeft;
    out.append(buffer.data(), written);
    return static_cast<int>(written);
}

}  // namespace haoma::platform
