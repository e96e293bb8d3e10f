// SPDX-License-Identifier: MIT
#include <iostream>

#include "cli/cli.h"
#include "platform/arguments.h"
#include "platform/interruptible_input.h"
#include "platform/interrupts.h"
#include "platform/paths.h"
#include "platform/standard_streams.h"

int main(int argc, char** argv) {
    // First of all, before any file is opened: a closed standard stream gets the null
    // device, so that no file opened later takes its number.
    const auto closed = haoma::platform::prepareStandardStreams();
    const volatile int* interrupted = haoma::platform::installInterruptHandlers();
    // The streams' own buffers: faster, and a read error on standard input (a folder, an I/O
    // error) sets the stream's bad bit instead of passing for the end of the input.
    std::ios::sync_with_stdio(false);
    for (const auto& [stream, which] : {std::pair{&std::cout, 1}, std::pair{&std::cerr, 2}}) {
        if (auto* buffer = haoma::platform::outputBuffer(which)) {
            stream->rdbuf(buffer);
        }
    }
    haoma::platform::widenOutputPipe();
    haoma::cli::Environment environment;
    environment.programDirectory = haoma::platform::executableDirectory();
    environment.userDataDirectory = haoma::platform::userDataDirectory();
    environment.errorIsTerminal = haoma::platform::isTerminal(2);
    environment.outputClosed = closed[1];
    environment.interrupted = interrupted;
    environment.localeCharset = haoma::platform::localeCharset();
    haoma::platform::InterruptibleInput input(interrupted);
    std::istream in(&input);
    return haoma::cli::run(haoma::platform::commandLineArguments(argc, argv), in, std::cout,
                           std::cerr, environment);
}
