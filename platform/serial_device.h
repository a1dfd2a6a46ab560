#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

enum class Parity { None, Even, Odd, Mark, Space };
enum class StopBits { One, OneAndHalf, Two };

// A whole settings string such as "9600,N,8,1".
struct LineSettings {
    std::int32_t baud = 9600;
    Parity parity = Parity::None;
    int dataBits = 8;
    StopBits stopBits = StopBits::One;
    bool operator==(const LineSettings&) const = default;
};

// Parses a settings string whole; a malformed string or a speed outside
// 50..256000 raises kErrInvalidPropertyValue.
LineSettings ParseSettings(std::u16string_view text);

struct ModemLines {
    bool dsr = false;
    bool cts = false;
    bool cd = false;
};

// One open serial port. Every call may raise a RuntimeError.
class SerialDevice {
  public:
    virtual ~SerialDevice() = default;
    virtual void configure(const LineSettings& settings) = 0;
    // Raise kErrLineNotSet on a device without modem lines.
    virtual void setDtr(bool on) = 0;
    virtual void setRts(bool on) = 0;
    // The input lines in one reading; nullopt on a device without modem lines.
    virtual std::optional<ModemLines> lines() = 0;
    // Bytes received and waiting to be read.
    virtual std::size_t inputCount() = 0;
    // Every waiting byte, in arrival order.
    virtual std::vector<std::uint8_t> readAll() = 0;
    // Queues the bytes and returns at once; never blocks.
    virtual void write(std::string_view bytes) = 0;
    // Bytes written but not yet transmitted.
    virtual std::size_t outputCount() = 0;
};

// Opens port numbers 1..16. Raises a RuntimeError when the port cannot be
// opened. DTR and RTS are applied after the settings.
class SerialPortOpener {
  public:
    virtual ~SerialPortOpener() = default;
    virtual std::unique_ptr<SerialDevice> open(int port, const LineSettings& settings, bool dtr,
                                               bool rts) = 0;
};

}  // namespace platform
