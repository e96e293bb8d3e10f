// SPDX-License-Identifier: MIT
#include "lookup/contact_number.h"

#include <algorithm>
#include <array>

#include "text/text.h"

namespace haoma::lookup {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool allDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), isDigit);
}

// The words that begin an extension, as they stand before its digits.
constexpr std::array<std::string_view, 6> kExtensionMarkers = {"ext.", "ext", "x",
                                                               "#",    "转",  "分机"};

bool isExtensionMarker(std::string_view word) {
    const std::string lower = text::toLowerAscii(word);
    return std::find(kExtensionMarkers.begin(), kExtensionMarkers.end(), lower) !=
           kExtensionMarkers.end();
}

// The text without an extension at its end (a marker, maybe blanks or a dot, then digits),
// or the text itself when it has none.
std::string_view withoutExtension(std::string_view text) {
    std::size_t digits = text.size();
    while (digits > 0 && isDigit(text[digits - 1])) {
        --digits;
    }
    if (digits == text.size()) {
        return text;
    }
    std::size_t marker = digits;
    while (marker > 0 && (text[marker - 1] == ' ' || text[marker - 1] == '.')) {
        --marker;
    }
    const std::string before = text::toLowerAscii(text.substr(0, marker));
    for (const auto word : kExtensionMarkers) {
        if (before.ends_with(word) && before.size() > word.size()) {
            return text::trim(text.substr(0, marker - word.size()));
        }
    }
    return text;
}

// The digits of a number written with separators and one pair of parentheses; false for
// anything else. A blank, dash or dot stands only between other marks.
bool writtenDigits(std::string_view body, std::string& digits) {
    bool open = false;
    for (std::size_t at = 0; at < body.size(); ++at) {
        const char c = body[at];
        if (isDigit(c)) {
            digits += c;
        } else if (c == '(' && !open) {
            open = true;
        } else if (c == ')' && open) {
            open = false;
        } else if (!((c == ' ' || c == '-' || c == '.') && at > 0 && at + 1 < body.size())) {
            return false;
        }
    }
    return !open && !digits.empty();
}

// Whether the words make one number together: a mainland number of at most 11 digits, or a
// number abroad of at most 15 (the international limit).
bool fitsOneNumber(std::string_view text) {
    const auto number = readContactNumber(text);
    return number.number && (number.foreign ? number.digitCount <= 15
                                            : number.codeOnly || number.digits.size() <= 11);
}

}  // namespace

ContactNumber readContactNumber(std::string_view text) {
    ContactNumber result;
    const auto trimmed = text::trim(text);
    result.digits = std::string(trimmed);
    const bool plus = trimmed.starts_with('+');
    std::string digits;
    if (!writtenDigits(withoutExtension(trimmed.substr(plus ? 1 : 0)), digits)) {
        return result;
    }
    std::string_view national = digits;
    if (plus ? digits.starts_with("86") : digits.starts_with("0086")) {
        national.remove_prefix(plus ? 2 : 4);
        result.codeOnly = national.empty();
    } else if (plus || (digits.starts_with("00") && digits.size() > 2)) {
        result.foreign = true;
    } else if (digits.size() == 13 && digits.starts_with("86")) {
        national.remove_prefix(2);
    }
    result.number = true;
    result.digitCount = digits.size();
    if (!result.foreign && !result.codeOnly) {
        result.digits = std::string(national);
    }
    return result;
}

std::string contactNumber(std::string_view text) {
    return readContactNumber(text).digits;
}

std::vector<std::string> numbersInLine(std::string_view line) {
    std::vector<std::string> numbers;
    std::string piece;
    const auto flush = [&] {
        std::vector<std::string> words;
        const std::string folded = text::foldHalfWidth(piece);
        for (const auto word : text::splitViews(folded, " ")) {
            if (const auto trimmed = text::trim(word); !trimmed.empty()) {
                words.emplace_back(trimmed);
            }
        }
        std::string group;
        for (std::size_t at = 0; at < words.size(); ++at) {
            // An extension's marker and digits join the number before them.
            if (!group.empty() && isExtensionMarker(words[at]) && at + 1 < words.size() &&
                allDigits(words[at + 1]) &&
                fitsOneNumber(group + " " + words[at] + " " + words[at + 1])) {
                group += " " + words[at] + " " + words[at + 1];
                ++at;
                continue;
            }
            if (!group.empty() && fitsOneNumber(group + " " + words[at])) {
                group += " " + words[at];
                continue;
            }
            if (!group.empty()) {
                numbers.push_back(group);
            }
            group = words[at];
        }
        if (!group.empty()) {
            numbers.push_back(group);
        }
        piece.clear();
    };
    for (std::size_t at = 0; at < line.size();) {
        const char c = line[at];
        if (c == ',' || c == ';' || c == '\t' || c == '\r' || c == '\n') {
            flush();
            ++at;
        } else if (line.substr(at).starts_with("，") || line.substr(at).starts_with("；")) {
            flush();
            at += 3;
        } else {
            piece += c;
            ++at;
        }
    }
    flush();
    return numbers;
}

}  // namespace haoma::lookup
