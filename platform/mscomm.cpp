#include "platform/mscomm.h"

#include <algorithm>
#include <cstddef>
#include <iterator>

#include "platform/ansi_codepage.h"
#include "platform/runtime_error.h"

namespace platform {
namespace {

constexpr std::int16_t kMinPort = 1;
constexpr std::int16_t kMaxPort = 16;

std::int16_t ClampCount(std::size_t count) {
    return static_cast<std::int16_t>(std::min<std::size_t>(count, INT16_MAX));
}

void RequireInRange(std::int16_t value, std::int16_t low, std::int16_t high) {
    if (value < low || value > high) {
        Raise(kErrInvalidPropertyValue);
    }
}

}  // namespace

MSComm::MSComm(SerialPortOpener& opener) : opener_(opener) {}

MSComm::~MSComm() = default;

void MSComm::setCommPort(std::int16_t port) {
    if (device_) {
        Raise(kErrPortOpenOperation);
    }
    if (port < kMinPort || port > kMaxPort) {
        Raise(kErrInvalidPortNumber);
    }
    commPort_ = port;
}

void MSComm::setSettings(std::u16string_view text) {
    const LineSettings parsed = ParseSettings(text);
    if (device_) {
        device_->configure(parsed);
    }
    settings_ = parsed;
    settingsText_.assign(text);
}

void MSComm::setPortOpen(bool open) {
    if (!open) {
        // Dropping the device closes it; that never fails.
        device_.reset();
        heldInput_.clear();
        return;
    }
    if (device_) {
        Raise(kErrPortAlreadyOpen);
    }
    device_ = opener_.open(commPort_, settings_, dtr_, rts_);
}

void MSComm::setInputLen(std::int16_t length) {
    RequireInRange(length, 0, INT16_MAX);
    inputLen_ = length;
}

void MSComm::setInputMode(std::int16_t mode) {
    RequireInRange(mode, 0, 1);
    inputMode_ = mode;
}

void MSComm::setHandshaking(std::int16_t mode) {
    // Only "none" is driven; the others are kept so the value reads back.
    RequireInRange(mode, 0, 3);
    handshaking_ = mode;
}

void MSComm::setRThreshold(std::int16_t threshold) {
    RequireInRange(threshold, 0, INT16_MAX);
    rThreshold_ = threshold;
}

void MSComm::setSThreshold(std::int16_t threshold) {
    RequireInRange(threshold, 0, INT16_MAX);
    sThreshold_ = threshold;
}

void MSComm::setDTREnable(bool on) {
    dtr_ = on;
    if (device_) {
        device_->setDtr(on);
    }
}

void MSComm::setRTSEnable(bool on) {
    rts_ = on;
    if (device_) {
        device_->setRts(on);
    }
}

SerialDevice& MSComm::openDevice() const {
    if (!device_) {
        Raise(kErrDeviceNotOpen);
    }
    return *device_;
}

std::optional<ModemLines> MSComm::LineSample() const {
    return device_ ? device_->lines() : ModemLines{};
}

ModemLines MSComm::reportedLines() const {
    const std::optional<ModemLines> lines = LineSample();
    if (!lines) {
        Raise(kErrLinesNotReported);
    }
    return *lines;
}

bool MSComm::CDHolding() const {
    return reportedLines().cd;
}

bool MSComm::CTSHolding() const {
    return reportedLines().cts;
}

bool MSComm::DSRHolding() const {
    return reportedLines().dsr;
}

std::int16_t MSComm::InBufferCount() const {
    SerialDevice& device = openDevice();
    return ClampCount(heldInput_.size() + device.inputCount());
}

std::vector<std::uint8_t> MSComm::Input() {
    SerialDevice& device = openDevice();
    std::vector<std::uint8_t> bytes = std::move(heldInput_);
    heldInput_.clear();
    std::vector<std::uint8_t> fresh = device.readAll();
    bytes.insert(bytes.end(), fresh.begin(), fresh.end());
    const auto wanted = static_cast<std::size_t>(inputLen_);
    if (wanted != 0 && bytes.size() > wanted) {
        heldInput_.assign(bytes.begin() + static_cast<std::ptrdiff_t>(wanted), bytes.end());
        bytes.resize(wanted);
    }
    return bytes;
}

void MSComm::setOutput(std::u16string_view text) {
    openDevice().write(ToAnsi(text));
}

std::int16_t MSComm::OutBufferCount() const {
    return ClampCount(openDevice().outputCount());
}

}  // namespace platform
