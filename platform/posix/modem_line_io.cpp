#include "platform/posix/modem_line_io.h"

#include <sys/ioctl.h>

#include <cerrno>

namespace platform::posix {
namespace {

int Request(int fd, unsigned long request, int* bits) {
    return ::ioctl(fd, request, bits) == 0 ? 0 : errno;
}

class KernelModemLines final : public ModemLineIo {
  public:
    int get(int fd, int& bits) override { return Request(fd, TIOCMGET, &bits); }
    int raise(int fd, int bits) override { return Request(fd, TIOCMBIS, &bits); }
    int lower(int fd, int bits) override { return Request(fd, TIOCMBIC, &bits); }
};

}  // namespace

std::shared_ptr<ModemLineIo> SystemModemLineIo() {
    static const auto io = std::make_shared<KernelModemLines>();
    return io;
}

}  // namespace platform::posix
