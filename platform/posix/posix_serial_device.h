#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/posix/modem_line_io.h"
#include "platform/posix/unique_fd.h"
#include "platform/serial_device.h"

namespace platform::posix {

// An open tty, non-blocking throughout. Output the kernel does not take at
// once waits here and is handed over as the port drains, on every later call.
// A hang-up (unplugged adapter, closed pseudo-terminal master) releases the
// descriptor; every later call then raises kErrDeviceRemoved.
class PosixSerialDevice final : public SerialDevice {
  public:
    PosixSerialDevice(UniqueFd fd, std::shared_ptr<ModemLineIo> io);
    ~PosixSerialDevice() override;

    void configure(const LineSettings& settings) override;
    void setDtr(bool on) override;
    void setRts(bool on) override;
    std::optional<ModemLines> lines() override;
    std::size_t inputCount() override;
    std::vector<std::uint8_t> readAll() override;
    void write(std::string_view bytes) override;
    std::size_t outputCount() override;

    // Sets both output lines where the device has them; a device without
    // modem lines (a pseudo-terminal) opens all the same.
    void applyLines(bool dtr, bool rts);

    // True once input is waiting (or the line hung up) within `timeout`.
    bool waitReadable(std::chrono::milliseconds timeout) const;

  private:
    int fd() const { return fd_.get(); }
    void requireOpen() const;
    void checkLine();
    [[noreturn]] void fail(int err);
    [[noreturn]] void removed();
    void flushOutput();
    // False when the device has no such line.
    bool setLine(int bit, bool on);
    // The operator's DTR or RTS: raises kErrLineNotSet where there is no such line.
    void setOutputLine(int bit, bool on, std::optional<bool>& setting);
    void release();

    UniqueFd fd_;
    std::shared_ptr<ModemLineIo> io_;
    std::string pending_;
    std::optional<bool> dtr_;
    std::optional<bool> rts_;
    bool reportsLines_ = true;
    bool drained_ = false;  // the output queue was empty and nothing was written since
};

}  // namespace platform::posix
