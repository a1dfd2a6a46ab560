#include "platform/headless/simulated_serial.h"

#include <algorithm>
#include <utility>

#include "platform/runtime_error.h"

namespace platform::headless {
namespace {

constexpr std::int64_t kBitsPerByte = 10;
constexpr std::int64_t kMicrosPerSecond = 1'000'000;
constexpr int kMinPort = 1;
constexpr int kMaxPort = 16;

// Time from the start of a run of bytes until the last bit of the count-th
// has left, rounded up to whole microseconds.
Micros TransmitTime(std::int64_t count, std::int32_t baud) {
    const std::int64_t bitMicros = count * kBitsPerByte * kMicrosPerSecond;
    return (bitMicros + baud - 1) / baud;
}

}  // namespace

// The program's side of a simulated port; a session ends at close or unplug.
class SimulatedDevice final : public SerialDevice {
  public:
    SimulatedDevice(SimulatedLine& line, std::uint64_t session) : line_(line), session_(session) {}
    ~SimulatedDevice() override { line_.close(session_); }
    SimulatedDevice(const SimulatedDevice&) = delete;
    SimulatedDevice& operator=(const SimulatedDevice&) = delete;

    void configure(const LineSettings& settings) override { line_.configure(session_, settings); }
    void setDtr(bool on) override { line_.setDtr(session_, on); }
    void setRts(bool on) override { line_.setRts(session_, on); }
    std::optional<ModemLines> lines() override { return line_.lines(session_); }
    std::size_t inputCount() override { return line_.inputCount(session_); }
    std::vector<std::uint8_t> readAll() override { return line_.readAll(session_); }
    void write(std::string_view bytes) override { line_.write(session_, bytes); }
    std::size_t outputCount() override { return line_.outputCount(session_); }

  private:
    SimulatedLine& line_;
    std::uint64_t session_;
};

SimulatedLine::SimulatedLine(const Clock& clock) : clock_(clock) {}

void SimulatedLine::deliver(Micros at, std::string bytes) {
    if (!bytes.empty()) {
        deliveries_.emplace(at, std::move(bytes));
    }
}

void SimulatedLine::record(LineChange::Kind kind, bool on) {
    changes_.push_back(LineChange{clock_.now(), kind, settings_, on});
}

Micros SimulatedLine::nextCompletion() const {
    return chainStart_ + TransmitTime(chainSent_ + 1, settings_.baud);
}

void SimulatedLine::restartTransmission(Micros at) {
    chainStart_ = at;
    chainSent_ = 0;
}

void SimulatedLine::advance() {
    // A peer reacting to a byte must not process the line under our feet.
    if (advancing_) {
        return;
    }
    advancing_ = true;
    const Micros now = clock_.now();
    while (true) {
        const bool sending = !transmit_.empty();
        const Micros sent = sending ? nextCompletion() : now + 1;
        const auto delivery = deliveries_.begin();
        const bool arriving = delivery != deliveries_.end() && delivery->first <= now;
        if (sending && sent <= now && (!arriving || sent <= delivery->first)) {
            const char byte = transmit_.front();
            transmit_.pop_front();
            ++chainSent_;
            if (peer_) {
                peer_(sent, std::string_view(&byte, 1), settings_);
            }
            continue;
        }
        if (!arriving) {
            break;
        }
        if (open_) {
            input_.insert(input_.end(), delivery->second.begin(), delivery->second.end());
        }
        deliveries_.erase(delivery);
    }
    advancing_ = false;
}

std::size_t SimulatedLine::pendingOutput() {
    advance();
    return transmit_.size();
}

void SimulatedLine::unplug() {
    advance();
    if (!open_) {
        return;
    }
    record(LineChange::Kind::Unplugged);
    open_ = false;
    transmit_.clear();
    input_.clear();
}

std::uint64_t SimulatedLine::open(const LineSettings& settings, bool dtr, bool rts) {
    advance();
    if (refusal_ != 0) {
        Raise(refusal_);
    }
    if (open_) {
        Raise(kErrPortInUse);
    }
    open_ = true;
    ++opens_;
    settings_ = settings;
    dtr_ = dtr;
    rts_ = rts;
    record(LineChange::Kind::Opened);
    record(LineChange::Kind::Settings);
    record(LineChange::Kind::Dtr, dtr);
    record(LineChange::Kind::Rts, rts);
    return ++session_;
}

void SimulatedLine::close(std::uint64_t session) {
    if (!open_ || session != session_) {
        return;
    }
    advance();
    open_ = false;
    dtr_ = false;
    rts_ = false;
    transmit_.clear();
    input_.clear();
    record(LineChange::Kind::Closed);
}

void SimulatedLine::requireSession(std::uint64_t session) {
    advance();
    if (!open_ || session != session_) {
        Raise(kErrDeviceRemoved);
    }
}

void SimulatedLine::configure(std::uint64_t session, const LineSettings& settings) {
    requireSession(session);
    settings_ = settings;
    restartTransmission(clock_.now());
    record(LineChange::Kind::Settings);
}

void SimulatedLine::setDtr(std::uint64_t session, bool on) {
    requireSession(session);
    dtr_ = on;
    record(LineChange::Kind::Dtr, on);
}

void SimulatedLine::setRts(std::uint64_t session, bool on) {
    requireSession(session);
    rts_ = on;
    record(LineChange::Kind::Rts, on);
}

ModemLines SimulatedLine::lines(std::uint64_t session) {
    requireSession(session);
    return ModemLines{dsr_, cts_, cd_};
}

std::size_t SimulatedLine::inputCount(std::uint64_t session) {
    requireSession(session);
    return input_.size();
}

std::vector<std::uint8_t> SimulatedLine::readAll(std::uint64_t session) {
    requireSession(session);
    return std::exchange(input_, {});
}

void SimulatedLine::write(std::uint64_t session, std::string_view bytes) {
    requireSession(session);
    if (bytes.empty()) {
        return;
    }
    if (transmit_.empty()) {
        restartTransmission(clock_.now());
    }
    transmit_.insert(transmit_.end(), bytes.begin(), bytes.end());
    writes_.push_back(SerialWrite{clock_.now(), std::string(bytes), settings_});
}

std::size_t SimulatedLine::outputCount(std::uint64_t session) {
    requireSession(session);
    return transmit_.size();
}

SimulatedSerialPorts::SimulatedSerialPorts(const Clock& clock) : clock_(clock) {}

SimulatedLine& SimulatedSerialPorts::line(int port) {
    if (port < kMinPort || port > kMaxPort) {
        Raise(kErrInvalidPortNumber);
    }
    auto& slot = lines_[port];
    if (!slot) {
        slot = std::make_unique<SimulatedLine>(clock_);
    }
    return *slot;
}

std::unique_ptr<SerialDevice> SimulatedSerialPorts::open(int port, const LineSettings& settings,
                                                         bool dtr, bool rts) {
    SimulatedLine& target = line(port);
    return std::make_unique<SimulatedDevice>(target, target.open(settings, dtr, rts));
}

}  // namespace platform::headless
