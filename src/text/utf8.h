// SPDX-License-Identifier: MIT
#pragma once
// Internal UTF-8 decoding shared by the text primitives.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace haoma::text::detail {

struct Decoded {
    char32_t codePoint;  // valid only when `valid`
    std::size_t length;  // bytes consumed, at least 1
    bool valid;
};

// Decodes the character at `pos`. An invalid or truncated sequence consumes one byte.
Decoded decodeAt(std::string_view text, std::size_t pos);

inline bool isContinuation(unsigned char byte) {
    return (byte & 0xC0U) == 0x80U;
}

}  // namespace haoma::text::detail
