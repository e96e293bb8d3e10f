// SPDX-License-Identifier: MIT
#include "generate/line_block.h"

#include <bit>
#include <cstring>
#include <vector>

namespace haoma::generate {
namespace {

std::string shapeOf(std::size_t prefixLength, std::span<const DigitSet> tails,
                    std::string_view lineEnd) {
    std::string shape = std::to_string(prefixLength) + ":";
    for (const DigitSet set : tails) {
        shape += std::to_string(set) + ",";
    }
    return shape.append(lineEnd);
}

}  // namespace

bool LineBlock::laidOut(std::size_t prefixLength, std::span<const DigitSet> tails,
                        std::string_view lineEnd) const {
    return tails_ == shapeOf(prefixLength, tails, lineEnd);
}

void LineBlock::layout(std::size_t prefixLength, std::span<const DigitSet> tails,
                       std::string_view lineEnd) {
    tails_ = shapeOf(prefixLength, tails, lineEnd);
    lineLength_ = prefixLength + tails.size() + lineEnd.size();
    lines_ = 1;
    for (const DigitSet set : tails) {
        lines_ *= static_cast<std::size_t>(digitCount(set));
    }
    block_.assign(lines_ * lineLength_, '\0');
    prefix_.assign(prefixLength, '\0');
    // An odometer over the sets, the last one turning fastest.
    std::vector<int> digit(tails.size());
    const auto lowest = [](DigitSet set) { return std::countr_zero(static_cast<unsigned>(set)); };
    for (std::size_t at = 0; at < tails.size(); ++at) {
        digit[at] = lowest(tails[at]);
    }
    for (std::size_t line = 0; line < lines_; ++line) {
        char* write = block_.data() + line * lineLength_ + prefixLength;
        for (std::size_t at = 0; at < tails.size(); ++at) {
            write[at] = static_cast<char>('0' + digit[at]);
        }
        std::memcpy(write + tails.size(), lineEnd.data(), lineEnd.size());
        for (std::size_t at = tails.size(); at-- > 0;) {
            const auto above = static_cast<DigitSet>(tails[at] & ~((2U << digit[at]) - 1));
            if (above != 0) {
                digit[at] = lowest(above);
                break;
            }
            digit[at] = lowest(tails[at]);
        }
    }
}

const std::string& LineBlock::with(std::string_view prefix) {
    std::size_t from = 0;
    while (from < prefix.size() && prefix[from] == prefix_[from]) {
        ++from;
    }
    if (from < prefix.size()) {
        const std::size_t changed = prefix.size() - from;
        const char* bytes = prefix.data() + from;
        char* line = block_.data() + from;
        if (changed == 1) {  // the common case: the next segment or filler of a list
            for (std::size_t k = 0; k < lines_; ++k, line += lineLength_) {
                *line = *bytes;
            }
        } else {
            for (std::size_t k = 0; k < lines_; ++k, line += lineLength_) {
                std::memcpy(line, bytes, changed);
            }
        }
        prefix_.assign(prefix);
    }
    return block_;
}

}  // namespace haoma::generate
