// SPDX-License-Identifier: MIT
#pragma once
// Standard input, output and error as a command-line program finds them.

#include <array>
#include <streambuf>
#include <string>

namespace haoma::platform {

// Opens the null device on each of standard input, output and error that is closed, so that
// no file opened later takes its number and nothing meant for a terminal lands in a file;
// puts the three in binary mode (Windows would turn LF into CR LF). Which were closed.
std::array<bool, 3> prepareStandardStreams();

// Whether the stream (0, 1, 2) is a terminal or console.
bool isTerminal(int stream);

// A larger pipe for standard output lets big blocks pass with fewer wake-ups of its reader.
void widenOutputPipe();

// The character set of the user's locale ("UTF-8", "GB18030" …); empty when unknown. On
// Windows, where arguments and console text are read and written as UTF-16, "UTF-8".
std::string localeCharset();

// On Windows, the buffer through which standard output or error (1, 2) is written: UTF-8
// text as UTF-16 to a console, so that Chinese shows whatever the console's code page; the
// bytes as they are to a file or pipe, a failure setting errno (EPIPE when the reader has
// gone). Null on POSIX, where the C library's streams do all this.
std::streambuf* outputBuffer(int stream);

}  // namespace haoma::platform
