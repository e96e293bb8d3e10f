// SPDX-License-Identifier: MIT
#pragma once

namespace haoma::app {

// Process start: working directory to the program directory, the window created and
// started up, shown, and the event loop run. Returns the exit code.
int runApplication(int argc, char** argv);

}  // namespace haoma::app
