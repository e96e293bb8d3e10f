// SPDX-License-Identifier: MIT
#include "utf8.h"

#include "text.h"

namespace haoma::text::detail {

Decoded decodeAt(std::string_view text, std::size_t pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80U) {
        return {lead, 1, true};
    }
    std::size_t length = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0U) == 0xC0U) {
        length = 2;
        cp = lead & 0x1FU;
        minimum = 0x80;
    } else if ((lead & 0xF0U) == 0xE0U) {
        length = 3;
        cp = lead & 0x0FU;
        minimum = 0x800;
    } else if ((lead & 0xF8U) == 0xF0U) {
        length = 4;
        cp = lead & 0x07U;
        minimum = 0x10000;
    } else {
        return {0, 1, false};
    }
    if (pos + length > text.size()) {
        return {0, 1, false};
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[pos + i]);
        if (!isContinuation(byte)) {
            return {0, 1, false};
        }
        cp = (cp << 6U) | (byte & 0x3FU);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return {0, 1, false};
    }
    return {cp, length, true};
}

}  // namespace haoma::text::detail

namespace haoma::text {

std::string printable(std::string_view text, bool* replaced) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const auto d = detail::decodeAt(text, pos);
        const bool control = d.valid && (d.codePoint < 0x20 || d.codePoint == 0x7F ||
                                         (d.codePoint >= 0x80 && d.codePoint < 0xA0));
        if (!d.valid || control) {
            out += "\xEF\xBF\xBD";  // U+FFFD
            if (replaced != nullptr) {
                *replaced = true;
            }
        } else {
            out.append(text.substr(pos, d.length));
        }
        pos += d.length;
    }
    return out;
}

std::string_view characterAt(std::string_view text, std::size_t pos) {
    return pos < text.size() ? text.substr(pos, detail::decodeAt(text, pos).length)
                             : std::string_view();
}

}  // namespace haoma::text
