#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"
#include "tests/support/at_command_line.h"
#include "tests/support/tc35_clock.h"
#include "tests/support/tc35_config.h"

namespace tc35 {

// What one command line produces: information texts (each framed by CR LF
// on the line) and the final result code.
struct ModuleReply {
    std::vector<std::string> info;
    std::string final = "OK";
};

struct Tc35Call {
    std::string number;
    bool incoming = false;
    // An incoming call rings until ATA.
    bool active = false;
    platform::Micros since = 0;
};

// The module's state and its command set, apart from any byte stream.
class Tc35Module {
  public:
    Tc35Module(Tc35Config config, platform::Micros start);

    Tc35Config& config() { return config_; }
    const Tc35Config& config() const { return config_; }

    // Runs the commands that follow "AT" on one line, received at `at`.
    ModuleReply run(std::string_view body, platform::Micros at);

    // A call comes in and rings; false when a call is already up.
    bool incomingCall(std::string number, platform::Micros at);

    bool echo() const { return echo_; }
    bool callerId() const { return callerId_; }
    std::int32_t baud() const { return baud_; }
    const std::string& pinState() const { return pinState_; }
    const std::optional<Tc35Call>& call() const { return call_; }
    std::string clockAt(platform::Micros at) const { return clock_.readAt(at); }

  private:
    using Info = std::vector<std::string>;
    using Handler = std::string (Tc35Module::*)(const AtCommand&, platform::Micros, Info&);

    static const Handler* find(std::string_view name);

    std::string factoryReset(const AtCommand& command, platform::Micros at, Info& info);
    std::string setEcho(const AtCommand& command, platform::Micros at, Info& info);
    std::string acceptSetting(const AtCommand& command, platform::Micros at, Info& info);
    std::string identify(const AtCommand& command, platform::Micros at, Info& info);
    std::string manufacturer(const AtCommand& command, platform::Micros at, Info& info);
    std::string modelName(const AtCommand& command, platform::Micros at, Info& info);
    std::string revision(const AtCommand& command, platform::Micros at, Info& info);
    std::string serialNumber(const AtCommand& command, platform::Micros at, Info& info);
    std::string signalQuality(const AtCommand& command, platform::Micros at, Info& info);
    std::string pinCommand(const AtCommand& command, platform::Micros at, Info& info);
    std::string clockCommand(const AtCommand& command, platform::Micros at, Info& info);
    std::string battery(const AtCommand& command, platform::Micros at, Info& info);
    std::string callerIdSetting(const AtCommand& command, platform::Micros at, Info& info);
    std::string portSpeed(const AtCommand& command, platform::Micros at, Info& info);
    std::string dial(const AtCommand& command, platform::Micros at, Info& info);
    std::string answer(const AtCommand& command, platform::Micros at, Info& info);
    std::string hangUp(const AtCommand& command, platform::Micros at, Info& info);
    std::string lastCallDuration(const AtCommand& command, platform::Micros at, Info& info);
    std::string tone(const AtCommand& command, platform::Micros at, Info& info);
    std::string networkOperator(const AtCommand& command, platform::Micros at, Info& info);
    std::string listCalls(const AtCommand& command, platform::Micros at, Info& info);

    std::string enterPin(const std::vector<std::string>& codes);
    // "+CME ERROR: <n>" while the SIM still wants its PIN or PUK.
    std::optional<std::string> simLocked() const;
    void endCall(platform::Micros at);

    Tc35Config config_;
    bool echo_;
    bool callerId_ = false;
    std::int32_t baud_;
    std::string pinState_;
    int wrongCodes_ = 0;
    ModuleClock clock_;
    std::optional<Tc35Call> call_;
    platform::Micros lastCallLength_ = 0;
};

}  // namespace tc35
