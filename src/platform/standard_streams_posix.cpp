// SPDX-License-Identifier: MIT
#include <fcntl.h>
#include <langinfo.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>

#include "platform/standard_streams.h"

namespace haoma::platform {

std::array<bool, 3> prepareStandardStreams() {
    std::array<bool, 3> closed{};
    for (int stream = 0; stream < 3; ++stream) {
        if (::fcntl(stream, F_GETFD) != -1 || errno != EBADF) {
            continue;
        }
        closed[static_cast<std::size_t>(stream)] = true;
        // open() takes the lowest free number: this one, as the lower ones are open.
        const int fd = ::open("/dev/null", stream == 0 ? O_RDONLY : O_WRONLY);
        if (fd >= 0 && fd != stream) {
            ::dup2(fd, stream);
            ::close(fd);
        }
    }
    return closed;
}

bool isTerminal(int stream) {
    return ::isatty(stream) == 1;
}

void widenOutputPipe() {
    struct stat out {};
    if (::fstat(1, &out) == 0 && S_ISFIFO(out.st_mode)) {
        ::fcntl(1, F_SETPIPE_SZ, 1 << 20);
    }
}

std::string localeCharset() {
    // The locale is read for its character set only; the program itself stays in "C".
    std::string charset;
    if (std::setlocale(LC_CTYPE, "") != nullptr) {
        charset = nl_langinfo(CODESET);
        std::setlocale(LC_CTYPE, "C");
    }
    return charset;
}

std::streambuf* outputBuffer(int) {
    return nullptr;
}

}  // namespace haoma::platform
