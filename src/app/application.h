// SPDX-License-Identifier: MIT
#pragma once

namespace haoma::app {

// Process start: working directory to the program directory, the window created and
// started up, shown, and the event loop run. Returns the exit code.
int runApplication(int argc, char** argv);

// Loads Qt's own Chinese texts (message-box buttons, context menus, file dialogs) into the
// running application, whatever the system locale. False when they are not installed.
bool installChineseTranslations();

}  // namespace haoma::app
