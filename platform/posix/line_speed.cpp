#include "platform/posix/line_speed.h"

#include <asm/ioctls.h>
#include <asm/termbits.h>
#include <sys/ioctl.h>

#include <cerrno>

namespace platform::posix {

int SetLineSpeed(int fd, std::int32_t baud) {
    termios2 tio{};
    if (::ioctl(fd, TCGETS2, &tio) != 0) {
        return errno;
    }
    tio.c_cflag &= ~static_cast<tcflag_t>(CBAUD);
    // Input-speed bits cleared: the input runs at the output speed.
    tio.c_cflag &= ~static_cast<tcflag_t>(CBAUD << IBSHIFT);
    tio.c_cflag |= BOTHER;
    tio.c_ospeed = static_cast<speed_t>(baud);
    tio.c_ispeed = static_cast<speed_t>(baud);
    if (::ioctl(fd, TCSETS2, &tio) != 0) {
        return errno;
    }
    return 0;
}

std::optional<std::int32_t> ReadLineSpeed(int fd) {
    termios2 tio{};
    if (::ioctl(fd, TCGETS2, &tio) != 0) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(tio.c_ospeed);
}

}  // namespace platform::posix
