#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"
#include "platform/serial_device.h"

namespace platform::headless {

// One write of the program, as the simulated port took it.
struct SerialWrite {
    Micros at = 0;
    std::string bytes;
    LineSettings settings;
};

// What the program did to the port, in order.
struct LineChange {
    enum class Kind { Opened, Settings, Dtr, Rts, Closed, Unplugged };
    Micros at = 0;
    Kind kind = Kind::Opened;
    LineSettings settings;  // Settings and Opened
    bool on = false;        // Dtr and Rts
};

// The far end of one simulated port, on the runtime's virtual clock. Nothing
// runs by itself: each call of the program's device (and advance()) first
// processes everything due up to clock.now(), in time order.
//
// Each byte written takes 10 bit times at the speed in force; bytes leave one
// after another. A change of settings restarts the bytes still waiting at the
// new speed.
class SimulatedLine {
  public:
    // Told of each byte once its last bit has left: the time it did, the byte
    // and the settings in force. It may call deliver() with times not before
    // `at`.
    using Peer = std::function<void(Micros at, std::string_view bytes, const LineSettings&)>;

    explicit SimulatedLine(const Clock& clock);

    // Scripting the far end.
    void setDsr(bool on) { dsr_ = on; }
    void setCts(bool on) { cts_ = on; }
    void setCd(bool on) { cd_ = on; }
    // Bytes reach the program's input at `at`; they are lost while the port
    // is closed then.
    void deliver(Micros at, std::string bytes);
    void setPeer(Peer peer) { peer_ = std::move(peer); }
    // Later opens raise this error number; 0 lets them succeed again.
    void refuseOpen(int errorNumber) { refusal_ = errorNumber; }
    // The device vanishes: the open device raises kErrDeviceRemoved from now
    // on, and can still be closed.
    void unplug();

    // What the program did.
    bool isOpen() const { return open_; }
    bool dtr() const { return open_ && dtr_; }
    bool rts() const { return open_ && rts_; }
    const LineSettings& settings() const { return settings_; }
    const std::vector<SerialWrite>& writes() const { return writes_; }
    const std::vector<LineChange>& changes() const { return changes_; }
    int openCount() const { return opens_; }

    // Bytes written and not yet transmitted, as of clock.now().
    std::size_t pendingOutput();
    void advance();

  private:
    friend class SimulatedDevice;
    friend class SimulatedSerialPorts;

    std::uint64_t open(const LineSettings& settings, bool dtr, bool rts);
    void close(std::uint64_t session);
    void requireSession(std::uint64_t session);
    void configure(std::uint64_t session, const LineSettings& settings);
    void setDtr(std::uint64_t session, bool on);
    void setRts(std::uint64_t session, bool on);
    ModemLines lines(std::uint64_t session);
    std::size_t inputCount(std::uint64_t session);
    std::vector<std::uint8_t> readAll(std::uint64_t session);
    void write(std::uint64_t session, std::string_view bytes);
    std::size_t outputCount(std::uint64_t session);

    Micros nextCompletion() const;
    void restartTransmission(Micros at);
    void record(LineChange::Kind kind, bool on = false);

    const Clock& clock_;
    Peer peer_;
    bool dsr_ = false;
    bool cts_ = false;
    bool cd_ = false;
    int refusal_ = 0;
    int opens_ = 0;
    bool open_ = false;
    bool advancing_ = false;
    std::uint64_t session_ = 0;
    LineSettings settings_;
    bool dtr_ = false;
    bool rts_ = false;
    std::multimap<Micros, std::string> deliveries_;
    std::vector<std::uint8_t> input_;
    std::deque<char> transmit_;
    Micros chainStart_ = 0;
    std::int64_t chainSent_ = 0;
    std::vector<SerialWrite> writes_;
    std::vector<LineChange> changes_;
};

// Ports 1..16, each with its own scriptable far end.
class SimulatedSerialPorts final : public SerialPortOpener {
  public:
    explicit SimulatedSerialPorts(const Clock& clock);

    SimulatedLine& line(int port);

    std::unique_ptr<SerialDevice> open(int port, const LineSettings& settings, bool dtr,
                                       bool rts) override;

  private:
    const Clock& clock_;
    std::map<int, std::unique_ptr<SimulatedLine>> lines_;
};

}  // namespace platform::headless
