// SPDX-License-Identifier: MIT
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "platform/interruptible_input.h"

namespace haoma::platform {
namespace {

constexpr int kWaitMilliseconds = 100;

}  // namespace

std::size_t InterruptibleInput::readSome(char* into, std::size_t room) {
    for (;;) {
        if (*interrupted_ != 0) {
            return 0;
        }
        // A signal that lands just before a blocking read would not break it off: wait in
        // short slices instead, looking at the flag between them.
        pollfd ready{0, POLLIN, 0};
        const int polled = ::poll(&ready, 1, kWaitMilliseconds);
        if (polled == 0 || (polled < 0 && errno == EINTR)) {
            continue;
        }
        const auto got = ::read(0, into, room);
        if (got >= 0) {
            return static_cast<std::size_t>(got);
        }
        if (errno != EINTR && errno != EAGAIN) {
            const int cause = errno;
            std::system_error failure(cause, std::generic_category(), "read");
            errno = cause;
            throw failure;
        }
    }
}

}  // namespace haoma::platform
