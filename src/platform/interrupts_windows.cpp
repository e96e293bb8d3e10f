// SPDX-License-Identifier: MIT
#include <windows.h>

#include "platform/interrupts.h"

namespace haoma::platform {
namespace {

volatile int requested = 0;

BOOL WINAPI onConsoleEvent(DWORD event) {
    switch (event) {
        case CTRL_C_EVENT:
            requested = 2;  // as SIGINT
            return TRUE;
        case CTRL_BREAK_EVENT:
            requested = 21;  // as SIGBREAK
            return TRUE;
        case CTRL_CLOSE_EVENT:
        case CTRL_LOGOFF_EVENT:
        case CTRL_SHUTDOWN_EVENT:
            requested = 1;  // as SIGHUP
            // The process ends when this returns: give the run its tenth of a second to stop
            // and take its temporary file away.
            Sleep(500);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

const volatile int* installInterruptHandlers() {
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
    return &requested;
}

}  // namespace haoma::platform
