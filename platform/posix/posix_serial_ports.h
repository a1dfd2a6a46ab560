#pragma once

#include <memory>
#include <string>

#include "platform/posix/modem_line_io.h"
#include "platform/serial_device.h"

namespace platform::posix {

// The device of port n: the file COM<n> in the program's folder when there
// is one (usually a symbolic link to /dev/ttyUSB0 or the like), otherwise
// /dev/ttyS<n-1>.
std::string DevicePath(const std::string& programFolder, int port);

// Opens serial ports as ttys, exclusively (flock and TIOCEXCL), raw 8-bit,
// without flow control.
class PosixSerialPorts final : public SerialPortOpener {
  public:
    explicit PosixSerialPorts(std::string programFolder,
                              std::shared_ptr<ModemLineIo> io = SystemModemLineIo());

    std::unique_ptr<SerialDevice> open(int port, const LineSettings& settings, bool dtr,
                                       bool rts) override;

  private:
    std::string folder_;
    std::shared_ptr<ModemLineIo> io_;
};

}  // namespace platform::posix
