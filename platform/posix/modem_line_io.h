#pragma once

#include <memory>

namespace platform::posix {

// The modem-line requests of a serial device (TIOCMGET, TIOCMBIS, TIOCMBIC),
// replaceable so that tests can stand in for hardware lines. Bits are the
// TIOCM_* values; each call returns 0 or the errno value of the refusal.
class ModemLineIo {
  public:
    virtual ~ModemLineIo() = default;
    virtual int get(int fd, int& bits) = 0;
    virtual int raise(int fd, int bits) = 0;
    virtual int lower(int fd, int bits) = 0;
};

// The kernel's own requests.
std::shared_ptr<ModemLineIo> SystemModemLineIo();

}  // namespace platform::posix
