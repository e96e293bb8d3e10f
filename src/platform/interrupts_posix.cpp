// SPDX-License-Identifier: MIT
#include <csignal>
#include <initializer_list>

#include "platform/interrupts.h"

namespace haoma::platform {
namespace {

volatile int requested = 0;

}  // namespace

const volatile int* installInterruptHandlers() {
    struct sigaction stop {};
    stop.sa_handler = [](int signal) { requested = signal; };
    sigemptyset(&stop.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        sigaction(signal, &stop, nullptr);
    }
    std::signal(SIGPIPE, SIG_IGN);  // a closed pipe shows as a failed write
    return &requested;
}

}  // namespace haoma::platform
