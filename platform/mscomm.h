#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/event.h"
#include "platform/serial_device.h"

namespace platform {

// The serial-communications control: one port, polled by the program.
// Every member may raise a RuntimeError; a refused write keeps the previous
// value.
class MSComm {
  public:
    static constexpr std::int16_t kOutBufferSize = 512;

    explicit MSComm(SerialPortOpener& opener);
    ~MSComm();
    MSComm(const MSComm&) = delete;
    MSComm& operator=(const MSComm&) = delete;

    std::int16_t CommPort() const { return commPort_; }
    void setCommPort(std::int16_t port);

    const std::u16string& Settings() const { return settingsText_; }
    void setSettings(std::u16string_view text);

    bool PortOpen() const { return device_ != nullptr; }
    void setPortOpen(bool open);

    std::int16_t InputLen() const { return inputLen_; }
    void setInputLen(std::int16_t length);
    std::int16_t InputMode() const { return inputMode_; }
    void setInputMode(std::int16_t mode);
    std::int16_t Handshaking() const { return handshaking_; }
    void setHandshaking(std::int16_t mode);
    std::int16_t RThreshold() const { return rThreshold_; }
    void setRThreshold(std::int16_t threshold);
    std::int16_t SThreshold() const { return sThreshold_; }
    void setSThreshold(std::int16_t threshold);

    // The setting is the control's own: it is kept even when the open device
    // has no such line to drive and the write raises kErrLineNotSet.
    bool DTREnable() const { return dtr_; }
    void setDTREnable(bool on);
    bool RTSEnable() const { return rts_; }
    void setRTSEnable(bool on);

    // Each raises kErrLinesNotReported on a device without modem lines.
    bool CDHolding() const;
    bool CTSHolding() const;
    bool DSRHolding() const;
    // DSR, CTS and CD in one reading, for a refresh that shows all three;
    // nullopt instead of the failure on a device without modem lines. All
    // false while the port is closed.
    std::optional<ModemLines> LineSample() const;

    std::int16_t InBufferCount() const;
    std::vector<std::uint8_t> Input();
    void setOutput(std::u16string_view text);
    std::int16_t OutBufferCount() const;
    std::int16_t OutBufferSize() const { return kOutBufferSize; }

    std::int16_t CommEvent() const { return commEvent_; }

    // Raised for receive and send events; with both thresholds 0 it never is.
    Event<> OnComm;

  private:
    SerialDevice& openDevice() const;
    ModemLines reportedLines() const;

    SerialPortOpener& opener_;
    std::unique_ptr<SerialDevice> device_;
    std::int16_t commPort_ = 1;
    std::u16string settingsText_ = u"9600,N,8,1";
    LineSettings settings_;
    std::int16_t inputLen_ = 0;
    std::int16_t inputMode_ = 0;
    std::int16_t handshaking_ = 0;
    std::int16_t rThreshold_ = 0;
    std::int16_t sThreshold_ = 0;
    bool dtr_ = true;
    bool rts_ = false;
    std::int16_t commEvent_ = 0;
    // Bytes taken from the device but held back by InputLen.
    std::vector<std::uint8_t> heldInput_;
};

}  // namespace platform
