// SPDX-License-Identifier: MIT
// Finding, splitting, trimming and case: one left-to-right scan that never lets a match
// begin inside a character.
#include "text.h"
#include "utf8.h"

namespace haoma::text {

using detail::decodeAt;
using detail::isContinuation;

bool isCharBoundary(std::string_view text, std::size_t pos) {
    if (pos == 0 || pos >= text.size()) {
        return true;
    }
    if (!isContinuation(static_cast<unsigned char>(text[pos]))) {
        return true;  // a lead or ASCII byte is never inside a character
    }
    for (std::size_t back = 1; back <= 3 && back <= pos; ++back) {
        const auto d = decodeAt(text, pos - back);
        if (d.valid && d.length > back) {
            return false;
        }
    }
    return true;  // a stray continuation byte stands for itself
}

bool isValidUtf8(std::string_view text) {
    for (std::size_t pos = 0; pos < text.size();) {
        const auto d = decodeAt(text, pos);
        if (!d.valid || d.codePoint == 0) {
            return false;
        }
        pos += d.length;
    }
    return true;
}

std::size_t findBytes(std::string_view text, std::string_view sought, std::size_t from) {
    if (sought.empty()) {
        return from <= text.size() ? from : std::string_view::npos;
    }
    for (auto pos = text.find(sought, from); pos != std::string_view::npos;
         pos = text.find(sought, pos + 1)) {
        if (isCharBoundary(text, pos)) {
            return pos;
        }
    }
    return std::string_view::npos;
}

int find(std::string_view text, std::string_view sought) {
    if (text.empty()) {
        return -1;
    }
    const auto pos = findBytes(text, sought);
    if (pos == std::string_view::npos) {
        return -1;
    }
    return gbkLength(text.substr(0, pos)) + 1;
}

bool contains(std::string_view text, std::string_view sought) {
    return findBytes(text, sought) != std::string_view::npos;
}

std::vector<std::string_view> splitViews(std::string_view text, std::string_view delimiter) {
    std::vector<std::string_view> pieces;
    if (text.empty()) {
        return pieces;
    }
    if (delimiter.empty()) {
        pieces.push_back(text);
        return pieces;
    }
    std::size_t start = 0;
    for (auto pos = findBytes(text, delimiter); pos != std::string_view::npos;
         pos = findBytes(text, delimiter, start)) {
        pieces.push_back(text.substr(start, pos - start));
        start = pos + delimiter.size();
    }
    if (start < text.size()) {
        pieces.push_back(text.substr(start));
    }
    return pieces;
}

std::vector<std::string_view> lines(std::string_view text) {
    std::vector<std::string_view> found;
    std::size_t start = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] == '\n' || text[at] == '\r') {
            found.push_back(text.substr(start, at - start));
            at += text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n' ? 1U : 0U;
            start = at + 1;
        }
    }
    if (start < text.size()) {
        found.push_back(text.substr(start));
    }
    return found;
}

std::vector<std::string> split(std::string_view text, std::string_view delimiter) {
    const auto views = splitViews(text, delimiter);
    return {views.begin(), views.end()};
}

std::string_view trim(std::string_view text) {
    constexpr std::string_view kIdeographicSpace = "\u3000";
    bool changed = true;
    while (changed && !text.empty()) {
        changed = false;
        if (text.front() == ' ') {
            text.remove_prefix(1);
            changed = true;
        } else if (text.starts_with(kIdeographicSpace)) {
            text.remove_prefix(kIdeographicSpace.size());
            changed = true;
        }
    }
    changed = true;
    while (changed && !text.empty()) {
        changed = false;
        if (text.back() == ' ') {
            text.remove_suffix(1);
            changed = true;
        } else if (text.ends_with(kIdeographicSpace) &&
                   isCharBoundary(text, text.size() - kIdeographicSpace.size())) {
            text.remove_suffix(kIdeographicSpace.size());
            changed = true;
        }
    }
    return text;
}

std::string toLowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

}  // namespace haoma::text
