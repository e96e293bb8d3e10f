// SPDX-License-Identifier: MIT
#pragma once
// The requests to stop that every long command answers: SIGINT, SIGTERM and SIGHUP on POSIX
// (installed without SA_RESTART, so a blocking call they break off returns); Ctrl-C,
// Ctrl-Break and a closed console on Windows.

namespace haoma::platform {

// Installs the handlers. The flag they set: 0 until a request comes, then the number the
// exit status adds to 128 (SIGINT 2, SIGTERM 15, SIGHUP 1; Ctrl-Break 21).
const volatile int* installInterruptHandlers();

}  // namespace haoma::platform
