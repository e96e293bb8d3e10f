// SPDX-License-Identifier: MIT
#pragma once
// UTF-8 and UTF-16 for the Windows side of the platform layer, and the errno value of a
// Windows error, so that every message is worded as on POSIX.

#include <string>
#include <string_view>

namespace haoma::platform::windows {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

// The errno value closest to a GetLastError() code (EACCES, ENOENT, ENOSPC, EBUSY …).
int errnoOf(unsigned long error);

}  // namespace haoma::platform::windows
