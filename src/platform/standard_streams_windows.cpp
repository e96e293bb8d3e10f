// SPDX-License-Identifier: MIT
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <array>
#include <cerrno>
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

// Standard output or error through the system's own writes, so that a failure is known by
// its cause (a reader gone is EPIPE, as on POSIX; the C runtime would say ENOENT or EINVAL).
// On a console the UTF-8 text is written as UTF-16, so that Chinese shows whatever the
// console's code page; a character cut between two writes waits for the rest of its bytes.
class HandleBuffer : public std::streambuf {
  public:
    HandleBuffer(HANDLE handle, bool console) : handle_(handle), console_(console) {}

  protected:
    int_type overflow(int_type c) override {
        if (c != traits_type::eof()) {
            pending_.push_back(static_cast<char>(c));
        }
        return pending_.size() < kBlock || flush() ? traits_type::not_eof(c) : traits_type::eof();
    }
    std::streamsize xsputn(const char* s, std::streamsize count) override {
        pending_.append(s, static_cast<std::size_t>(count));
        return pending_.size() < kBlock || flush() ? count : 0;
    }
    int sync() override { return flush() ? 0 : -1; }

  private:
    static constexpr std::size_t kBlock = std::size_t{1} << 16;

    bool flush() {
        const std::size_t whole = console_ ? wholeCharacters() : pending_.size();
        bool written = true;
        if (console_) {
            const std::wstring wide = windows::widen(std::string_view(pending_).substr(0, whole));
            DWORD wrote = 0;
            written =
                wide.empty() || WriteConsoleW(handle_, wide.data(), static_cast<DWORD>(wide.size()),
                                              &wrote, nullptr);
        } else {
            std::string_view bytes(pending_.data(), whole);
            while (written && !bytes.empty()) {
                DWORD wrote = 0;
                const auto chunk =
                    static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1U << 30));
                written = WriteFile(handle_, bytes.data(), chunk, &wrote, nullptr) != 0;
                bytes.remove_prefix(wrote);
            }
        }
        pending_.erase(0, whole);
        if (!written) {
            errno = windows::errnoOf(GetLastError());
        }
        return written;
    }

    // The bytes before an unfinished character at the end.
    std::size_t wholeCharacters() const {
        std::size_t whole = pending_.size();
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
        return whole;
    }

    HANDLE handle_;
    bool console_;
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

std::streambuf* outputBuffer(int stream) {
    // Made once for the program's life: the standard streams flush into it at exit.
    static HandleBuffer* buffers[3] = {};
    if (buffers[stream] == nullptr) {
        buffers[stream] = new HandleBuffer(standardHandle(stream), isTerminal(stream));
    }
    return buffers[stream];
}

}  // namespace haoma::platform
