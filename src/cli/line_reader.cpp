// SPDX-License-Identifier: MIT
#include "cli/line_reader.h"

#include <array>

#include "text/text.h"

namespace haoma::cli {
namespace {

constexpr std::size_t kChunk = 1 << 16;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

LineReader::LineReader(std::istream& in, bool textOnly, std::function<bool()> stop)
    : in_(in), textOnly_(textOnly), stop_(std::move(stop)) {}

bool LineReader::fill() {
    if (ended_ || (stop_ && stop_())) {
        ended_ = true;
        return false;
    }
    if (start_ > 0) {
        buffer_.erase(0, start_);
        scanned_ -= start_;
        start_ = 0;
    }
    std::array<char, kChunk> chunk{};
    in_.read(chunk.data(), chunk.size());
    const auto got = static_cast<std::size_t>(in_.gcount());
    buffer_.append(chunk.data(), got);
    if (got < chunk.size()) {
        ended_ = true;
        failed_ = in_.bad();
    }
    return got > 0;
}

bool LineReader::next(std::string& line) {
    for (;;) {
        const auto end = buffer_.find('\n', scanned_);
        if (end == std::string::npos) {
            scanned_ = buffer_.size();
            if (buffer_.size() - start_ > kMaxLineBytes) {
                // Too long to keep: drop what there is and skip to the next line break.
                ++tooLong_;
                buffer_.clear();
                start_ = scanned_ = 0;
                while (!ended_) {
                    fill();
                    const auto found = buffer_.find('\n');
                    if (found != std::string::npos) {
                        start_ = scanned_ = found + 1;
                        break;
                    }
                    buffer_.clear();
                    scanned_ = 0;
                }
                atStart_ = false;
                continue;
            }
            if (fill()) {
                continue;
            }
            if (start_ >= buffer_.size() || failed_) {
                return false;
            }
        }
        const std::size_t stop = end == std::string::npos ? buffer_.size() : end;
        std::string_view text(buffer_.data() + start_, stop - start_);
        start_ = scanned_ = end == std::string::npos ? buffer_.size() : end + 1;
        if (text.size() > kMaxLineBytes) {
            ++tooLong_;
            atStart_ = false;
            continue;
        }
        if (atStart_ && text.starts_with(kByteOrderMark)) {
            text.remove_prefix(kByteOrderMark.size());
        }
        atStart_ = false;
        if (text.ends_with('\r')) {
            text.remove_suffix(1);
        }
        if (textOnly_ && !text::isValidUtf8(text)) {
            ++notText_;
            continue;
        }
        line.assign(text);
        return true;
    }
}

}  // namespace haoma::cli
