// SPDX-License-Identifier: MIT
#include "cli/fd_input.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <ios>
#include <system_error>

namespace haoma::cli {
namespace {

constexpr int kWaitMilliseconds = 100;

}  // namespace

FdInputBuffer::int_type FdInputBuffer::underflow() {
    if (gptr() < egptr()) {
        return traits_type::to_int_type(*gptr());
    }
    for (;;) {
        if (*interrupted_ != 0) {
            return traits_type::eof();
        }
        // A signal that lands just before a blocking read would not break it off: wait in
        // short slices instead, looking at the flag between them.
        pollfd ready{fd_, POLLIN, 0};
        const int polled = ::poll(&ready, 1, kWaitMilliseconds);
        if (polled == 0 || (polled < 0 && errno == EINTR)) {
            continue;
        }
        const auto got = ::read(fd_, buffer_.data(), buffer_.size());
        if (got > 0) {
            setg(buffer_.data(), buffer_.data(), buffer_.data() + got);
            return traits_type::to_int_type(*gptr());
        }
        if (got == 0) {
            return traits_type::eof();
        }
        if (errno != EINTR && errno != EAGAIN) {
            const int cause = errno;
            std::system_error failure(cause, std::generic_category(), "read");
            errno = cause;
            throw failure;
        }
    }
}

}  // namespace haoma::cli
