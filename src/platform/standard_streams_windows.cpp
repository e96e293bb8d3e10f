// SPDX-License-Identifier: MIT
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <array>
#include <cstdio>
#include <string>

#include "platform/standard_streams.h"
#include "platform/windows_text.h"

namespace haoma::platform {
namespace {

constexpr DWORD kHandles[] = {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE};

HANDLE standardHandle(int stream) {
    return GetStdHandle(kHandles[stream]);
}

// Writes UTF-8 text to a console as UTF-16; a character cut between two writes waits for
// the rest of its bytes.
class ConsoleBuffer : public std::streambuf {
  public:
    explicit ConsoleBuffer(HANDLE console) : console_(console) {}

  protected:
    int_type overflow(int_type c) override {
        if (c != traits_type::eof()) {
            pending_.push_back(static_cast<char>(c));
        }
        return flushWhole() ? traits_type::not_eof(c) : traits_type::eof();
    }
    std::streamsize xsputn(const char* s, std::streamsize count) override {
        pending_.append(s, static_cast<std::size_t>(count));
        return flushWhole() ? count : 0;
    }
    int sync() override { return flushWhole() ? 0 : -1; }

  private:
    bool flushWhole() {
        std::size_t whole = pending_.size();
        // Back up over an unfinished character at the end.
        std::size_t back = 0;
        while (back < 4 && back < whole &&
               (static_cast<unsigned char>(pending_[whole - 1 - back]) & 0xC0U) == 0x80U) {
            ++back;
        }
        if (back < whole) {
            const auto lead = static_cast<unsigned char>(pending_[whole - 1 - back]);
            const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
            if (length > back + 1) {
                whole -= back + 1;
            }
        }
        const std::wstring wide = windows::widen(std::string_view(pending_).substr(0, whole));
        pending_.erase(0, whole);
        DWORD wrote = 0;
        return wide.empty() || WriteConsoleW(console_, wide.data(), static_cast<DWORD>(wide.size()),
                                             &wrote, nullptr);
    }

    HANDLE console_;
    std::string pending_;
};

}  // namespace

std::array<bool, 3> prepareStandardStreams() {
    std::array<bool, 3> closed{};
    for (int stream = 0; stream < 3; ++stream) {
        const HANDLE handle = standardHandle(stream);
        if (handle == nullptr || handle == INVALID_HANDLE_VALUE || _get_osfhandle(stream) == -1) {
            closed[static_cast<std::size_t>(stream)] = true;
            std::FILE* ignored = nullptr;
            freopen_s(&ignored, "NUL", stream == 0 ? "rb" : "wb",
                      stream == 0   ? stdin
                      : stream == 1 ? stdout
                                    : stderr);
        }
        _setmode(stream, _O_BINARY);
    }
    return closed;
}

bool isTerminal(int stream) {
    DWORD mode = 0;
    return GetConsoleMode(standardHandle(stream), &mode) != 0;
}

void widenOutputPipe() {}

std::string localeCharset() {
    return "UTF-8";
}

std::streambuf* consoleBuffer(int stream) {
    if (!isTerminal(stream)) {
        return nullptr;
    }
    static ConsoleBuffer* buffers[3] = {};
    if (buffers[stream] == nullptr) {
        buffers[stream] = new ConsoleBuffer(standardHandle(stream));
    }
    return buffers[stream];
}

}  // namespace haoma::platform
