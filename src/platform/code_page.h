// SPDX-License-Identifier: MIT
#pragma once
// The GBK code page (936) as the system knows it: glibc's iconv on POSIX, the system's own
// code page table on Windows.

#include <memory>
#include <string>

namespace haoma::platform {

class GbkEncoder {
  public:
    GbkEncoder();
    ~GbkEncoder();
    GbkEncoder(const GbkEncoder&) = delete;
    GbkEncoder& operator=(const GbkEncoder&) = delete;

    // Appends the GBK bytes of `cp` and returns how many; 0, appending nothing, when the code
    // page lacks the character.
    int append(char32_t cp, std::string& out);

  private:
    void* handle_;
};

}  // namespace haoma::platform
