// SPDX-License-Identifier: MIT
#include "platform/interruptible_input.h"

namespace haoma::platform {

InterruptibleInput::int_type InterruptibleInput::underflow() {
    if (gptr() < egptr()) {
        return traits_type::to_int_type(*gptr());
    }
    const std::size_t got = readSome(buffer_.data(), buffer_.size());
    if (got == 0) {
        return traits_type::eof();
    }
    setg(buffer_.data(), buffer_.data(), buffer_.data() + got);
    return traits_type::to_int_type(*gptr());
}

}  // namespace haoma::platform
