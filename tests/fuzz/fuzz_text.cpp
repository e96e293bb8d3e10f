// SPDX-License-Identifier: MIT
// Text primitives on arbitrary bytes: properties, not only the absence of crashes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "text/text.h"

namespace {

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace haoma::text;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // The first byte picks a delimiter; the rest is the text.
    const std::string_view delimiters[] = {"\r\n", "@", "|", "北"};
    const std::string_view delimiter = size > 0 ? delimiters[data[0] % 4] : "@";
    const std::string_view text = size > 0 ? bytes.substr(1) : bytes;

    // Split then join with the delimiter gives back the text less a trailing delimiter.
    const auto pieces = splitViews(text, delimiter);
    std::string joined;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0) {
            joined += delimiter;
        }
        joined += pieces[i];
    }
    std::string_view expected = text;
    if (expected.ends_with(delimiter) && isCharBoundary(text, text.size() - delimiter.size())) {
        expected.remove_suffix(delimiter.size());
    }
    check(joined == expected);
    check(text.empty() == pieces.empty());

    // Find agrees with contains, and the position lies inside the text.
    const int position = find(text, delimiter);
    check((position > 0) == (!text.empty() && contains(text, delimiter)));
    check(position <= gbkLength(text));

    // Trim leaves no blank at either end and is idempotent.
    const auto trimmed = trim(text);
    check(trim(trimmed) == trimmed);
    check(trimmed.empty() || (trimmed.front() != ' ' && trimmed.back() != ' '));
    check(text.find(trimmed) != std::string_view::npos);

    // Lower case changes only ASCII capitals.
    const std::string lower = toLowerAscii(text);
    check(lower.size() == text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool capital = text[i] >= 'A' && text[i] <= 'Z';
        check(capital ? lower[i] == text[i] + 32 : lower[i] == text[i]);
    }

    // Conversions never fail; the GBK length is additive over a character boundary.
    static_cast<void>(toInteger(text));
    static_cast<void>(toNumber(text));
    static_cast<void>(numberToInteger(toNumber(text)));
    static_cast<void>(foldHalfWidth(text));
    const int length = gbkLength(text);
    check(length >= 0 && static_cast<std::size_t>(length) <= text.size() * 2);
    for (std::size_t cut = 0; cut <= text.size(); cut += 7) {
        if (isCharBoundary(text, cut)) {
            check(gbkLength(text.substr(0, cut)) + gbkLength(text.substr(cut)) == length);
        }
    }
    return 0;
}
