#include "tests/support/fd_reading.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

namespace test_support {

std::string ReadUntilClosed(int fd, int timeoutMs) {
    std::string text;
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, timeoutMs) <= 0) {
            return {};
        }
        char buffer[256];
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got > 0) {
            text.append(buffer, static_cast<std::size_t>(got));
        } else if (got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR)) {
            return text;
        }
    }
}

}  // namespace test_support
