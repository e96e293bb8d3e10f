// SPDX-License-Identifier: MIT
// The GBK code page rules: byte lengths, byte order and half-width folding.
#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "platform/code_page.h"
#include "text.h"
#include "utf8.h"

namespace haoma::text {
namespace {

using detail::decodeAt;

constexpr char kReplacement = '?';

// Appends the GBK bytes of `cp`, the replacement byte when GBK lacks it; how many bytes.
int appendGbk(platform::GbkEncoder& encoder, char32_t cp, std::string& out) {
    const int written = encoder.append(cp, out);
    if (written > 0) {
        return written;
    }
    out.push_back(kReplacement);
    return 1;
}

// GBK holds every ideograph of the CJK Unified Ideographs block up to U+9FA5 in two bytes;
// the common case needs no converter.
bool isCommonIdeograph(char32_t cp) {
    return cp >= 0x4E00 && cp <= 0x9FA5;
}

// Encodes the text as GBK bytes, with the same replacement rule as gbkLength.
std::string toGbk(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::optional<platform::GbkEncoder> encoder;
    for (std::size_t pos = 0; pos < text.size();) {
        const auto d = decodeAt(text, pos);
        if (!d.valid) {
            out.push_back(kReplacement);
        } else if (d.codePoint < 0x80) {
            out.push_back(static_cast<char>(d.codePoint));
        } else {
            if (!encoder) {
                encoder.emplace();
            }
            appendGbk(*encoder, d.codePoint, out);
        }
        pos += d.length;
    }
    return out;
}

// Full-width forms that fold to one ASCII byte: the ideographic space, the wave dash,
// the two stars, and row 0xA3 of GBK, which mirrors ASCII 0x21..0x7E at byte + 0x80.
// Two cells of that row hold other code points than the Unicode full-width block.
char foldedAscii(char32_t cp) {
    switch (cp) {
        case 0x3000:
            return ' ';
        case 0xFF5E:  // GBK A1 AB
            return '~';
        case 0x2606:  // GBK A1 EE
        case 0x2605:  // GBK A1 EF
            return '*';
        case 0xFFE5:  // GBK A3 A4
            return '$';
        case 0xFFE3:  // GBK A3 FE
            return '~';
        default:
            break;
    }
    if (cp >= 0xFF01 && cp <= 0xFF5D && cp != 0xFF04) {
        return static_cast<char>(cp - 0xFF01 + 0x21);
    }
    return '\0';
}

}  // namespace

int gbkLength(std::string_view text) {
    int length = 0;
    std::string scratch;
    std::optional<platform::GbkEncoder> encoder;  // opened only for uncommon characters
    for (std::size_t pos = 0; pos < text.size();) {
        const auto byte = static_cast<unsigned char>(text[pos]);
        if (byte < 0x80U) {
            ++length;
            ++pos;
            continue;
        }
        const auto d = decodeAt(text, pos);
        pos += d.length;
        if (!d.valid) {
            ++length;
        } else if (isCommonIdeograph(d.codePoint)) {
            length += 2;
        } else {
            if (!encoder) {
                encoder.emplace();
            }
            scratch.clear();
            length += appendGbk(*encoder, d.codePoint, scratch);
        }
    }
    return length;
}

std::string foldHalfWidth(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const auto d = decodeAt(text, pos);
        const char folded = d.valid ? foldedAscii(d.codePoint) : '\0';
        if (folded != '\0') {
            out.push_back(folded);
        } else {
            out.append(text.substr(pos, d.length));
        }
        pos += d.length;
    }
    return out;
}

int compare(std::string_view a, std::string_view b) {
    const std::string ga = toGbk(a);
    const std::string gb = toGbk(b);
    const auto n = std::min(ga.size(), gb.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto x = static_cast<unsigned char>(ga[i]);
        const auto y = static_cast<unsigned char>(gb[i]);
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    if (ga.size() == gb.size()) {
        return 0;
    }
    return ga.size() < gb.size() ? -1 : 1;
}

}  // namespace haoma::text
