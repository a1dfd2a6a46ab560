// Kept apart from <termios.h>: its struct termios clashes with the kernel's,
// and only the kernel's termios2 carries the speed as a number.
#include "tests/support/pty_line_speed.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace tc35 {

std::optional<std::int32_t> PtyLineSpeed(int masterFd) {
    struct termios2 settings {};
    if (ioctl(masterFd, TCGETS2, &settings) != 0) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(settings.c_ospeed);
}

}  // namespace tc35
