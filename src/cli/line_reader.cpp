// SPDX-License-Identifier: MIT
#include "cli/line_reader.h"

#include <algorithm>
#include <array>
#include <cerrno>

#include "text/text.h"

namespace haoma::cli {
namespace {

constexpr std::size_t kChunk = 1 << 16;
constexpr std::size_t kTruncatedBytes = 64;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

LineReader::LineReader(std::istream& in, LineRules rules, std::function<bool()> stop)
    : in_(in), rules_(rules), stop_(std::move(stop)) {}

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
    // Whatever the input has ready once something has come: a slow pipe's lines are seen as
    // they come, a file's in big chunks.
    std::streambuf* source = in_.rdbuf();
    std::streamsize got = 0;
    try {
        if (source->sgetc() != std::char_traits<char>::eof()) {
            const std::streamsize ready = std::max<std::streamsize>(1, source->in_avail());
            const std::size_t old = buffer_.size();
            buffer_.resize(old +
                           static_cast<std::size_t>(std::min<std::streamsize>(ready, kChunk)));
            got = source->sgetn(buffer_.data() + old,
                                static_cast<std::streamsize>(buffer_.size() - old));
            buffer_.resize(old + static_cast<std::size_t>(got));
        }
    } catch (...) {
        failed_ = true;  // errno says why
    }
    if (got == 0) {
        ended_ = true;
    }
    return got > 0;
}

std::size_t LineReader::lineEnd(std::size_t& endLength) {
    const char* breaks = rules_.crEndsLine ? "\r\n" : "\n";
    const auto end = buffer_.find_first_of(breaks, scanned_);
    if (end == std::string::npos) {
        scanned_ = buffer_.size();
        return end;
    }
    endLength = 1;
    if (buffer_[end] == '\r') {
        if (end + 1 == buffer_.size() && !ended_) {
            scanned_ = end;  // an LF may follow in the next read
            return std::string::npos;
        }
        endLength = end + 1 < buffer_.size() && buffer_[end + 1] == '\n' ? 2 : 1;
    }
    return end;
}

bool LineReader::lineBuffered() const {
    return buffer_.find_first_of(rules_.crEndsLine ? "\r\n" : "\n", start_) != std::string::npos;
}

void LineReader::skipRest() {
    buffer_.clear();
    start_ = scanned_ = 0;
    for (;;) {
        std::size_t endLength = 0;
        const auto end = lineEnd(endLength);
        if (end != std::string::npos) {
            start_ = scanned_ = end + endLength;
            return;
        }
        buffer_.clear();
        scanned_ = 0;
        if (!fill()) {
            return;
        }
    }
}

bool LineReader::next(std::string& line) {
    truncated_ = false;
    if (atStart_) {
        // A byte-order mark at the very start is no part of the text: an input of nothing
        // else has no line at all.
        while (buffer_.size() - start_ < kByteOrderMark.size() &&
               kByteOrderMark.starts_with(std::string_view(buffer_).substr(start_)) && fill()) {
        }
        if (std::string_view(buffer_).substr(start_).starts_with(kByteOrderMark)) {
            start_ += kByteOrderMark.size();
            scanned_ = std::max(scanned_, start_);
        }
        atStart_ = false;
    }
    for (;;) {
        std::size_t endLength = 0;
        const auto end = lineEnd(endLength);
        if (end == std::string::npos) {
            if (buffer_.size() - start_ > kMaxLineBytes) {
                // Too long to keep: its start at most, then on to the next line.
                ++tooLong_;
                const std::string start = buffer_.substr(start_, kTruncatedBytes);
                skipRest();
                if (rules_.keepTooLong) {
                    line = start;
                    truncated_ = true;
                    return true;
                }
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
        start_ = scanned_ = end == std::string::npos ? buffer_.size() : end + endLength;
        if (text.size() > kMaxLineBytes) {
            ++tooLong_;
            if (rules_.keepTooLong) {
                line.assign(text.substr(0, kTruncatedBytes));
                truncated_ = true;
                return true;
            }
            continue;
        }
        if (!rules_.crEndsLine && text.ends_with('\r')) {
            text.remove_suffix(1);
        }
        if (rules_.textOnly && !text::isValidUtf8(text)) {
            ++notText_;
            continue;
        }
        line.assign(text);
        return true;
    }
}

}  // namespace haoma::cli
