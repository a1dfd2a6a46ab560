#include "tests/support/tc35_module.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <map>
#include <stdexcept>

namespace tc35 {
namespace {

using Form = AtCommand::Form;

constexpr std::string_view kOk = "OK";
constexpr std::string_view kError = "ERROR";
constexpr std::string_view kNoCarrier = "NO CARRIER";
constexpr std::string_view kNotAllowed = "+CME ERROR: 3";
constexpr std::string_view kWrongCode = "+CME ERROR: 16";

std::optional<int> Number(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// A basic command's number: absent means 0.
bool NumberIn(std::string_view text, int low, int high) {
    const auto value = text.empty() ? std::optional<int>{0} : Number(text);
    return value && *value >= low && *value <= high;
}

std::string Unquoted(std::string_view text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        text = text.substr(1, text.size() - 2);
    }
    return std::string{text};
}

std::vector<std::string> Arguments(std::string_view text) {
    std::vector<std::string> arguments;
    std::size_t start = 0;
    bool quoted = false;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] == '"') {
            quoted = !quoted;
        }
        if (i == text.size() || (text[i] == ',' && !quoted)) {
            arguments.push_back(Unquoted(text.substr(start, i - start)));
            start = i + 1;
        }
    }
    return arguments;
}

std::string Duration(platform::Micros length) {
    const long long seconds = length / 1'000'000;
    char text[32];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    return text;
}

ModuleClock PowerOnClock(const Tc35Config& config, platform::Micros start) {
    const auto seconds = ModuleClock::Parse(config.clock);
    if (!seconds) {
        throw std::invalid_argument("module clock \"" + config.clock +
                                    "\" is not yy/MM/dd,hh:mm:ss");
    }
    return ModuleClock{*seconds, start, config.clockRuns};
}

}  // namespace

Tc35Module::Tc35Module(Tc35Config config, platform::Micros start)
    : config_(std::move(config)),
      echo_(config_.echo),
      baud_(config_.baud),
      pinState_(config_.pinState),
      clock_(PowerOnClock(config_, start)) {}

const Tc35Module::Handler* Tc35Module::find(std::string_view name) {
    static const std::map<std::string_view, Handler> kHandlers = {
        {"&F", &Tc35Module::factoryReset},
        {"Z", &Tc35Module::factoryReset},
        {"E", &Tc35Module::setEcho},
        {"V", &Tc35Module::acceptSetting},
        {"Q", &Tc35Module::acceptSetting},
        {"X", &Tc35Module::acceptSetting},
        {"&C", &Tc35Module::acceptSetting},
        {"&D", &Tc35Module::acceptSetting},
        {"&W", &Tc35Module::acceptSetting},
        {"^SNFS", &Tc35Module::acceptSetting},
        {"^SSYNC", &Tc35Module::acceptSetting},
        {"^SNFD", &Tc35Module::acceptSetting},
        {"+CRC", &Tc35Module::acceptSetting},
        {"+CMEE", &Tc35Module::acceptSetting},
        {"I", &Tc35Module::identify},
        {"+CGMI", &Tc35Module::manufacturer},
        {"+CGMM", &Tc35Module::modelName},
        {"+CGMR", &Tc35Module::revision},
        {"+CGSN", &Tc35Module::serialNumber},
        {"+CSQ", &Tc35Module::signalQuality},
        {"+CPIN", &Tc35Module::pinCommand},
        {"+CCLK", &Tc35Module::clockCommand},
        {"^SBC", &Tc35Module::battery},
        {"+CLIP", &Tc35Module::callerIdSetting},
        {"+IPR", &Tc35Module::portSpeed},
        {"D", &Tc35Module::dial},
        {"A", &Tc35Module::answer},
        {"H", &Tc35Module::hangUp},
        {"+CHUP", &Tc35Module::hangUp},
        {"^SLCD", &Tc35Module::lastCallDuration},
        {"+VTS", &Tc35Module::tone},
        {"+COPS", &Tc35Module::networkOperator},
        {"+CLCC", &Tc35Module::listCalls},
    };
    const auto it = kHandlers.find(name);
    return it == kHandlers.end() ? nullptr : &it->second;
}

ModuleReply Tc35Module::run(std::string_view body, platform::Micros at) {
    ModuleReply reply;
    const auto commands = SplitCommandLine(body);
    if (!commands) {
        reply.final = kError;
        return reply;
    }
    // The first command that fails ends the line; what the others printed stays.
    for (const AtCommand& command : *commands) {
        const Handler* handler = find(command.name);
        reply.final = handler ? (this->**handler)(command, at, reply.info) : std::string{kError};
        if (reply.final != kOk) {
            break;
        }
    }
    return reply;
}

bool Tc35Module::incomingCall(std::string number, platform::Micros at) {
    if (call_) {
        return false;
    }
    call_ = Tc35Call{std::move(number), true, false, at};
    return true;
}

std::string Tc35Module::factoryReset(const AtCommand& command, platform::Micros, Info&) {
    if (command.form != Form::Action || !NumberIn(command.value, 0, 0)) {
        return std::string{kError};
    }
    echo_ = config_.echo;
    callerId_ = false;
    return std::string{kOk};
}

std::string Tc35Module::setEcho(const AtCommand& command, platform::Micros, Info&) {
    if (!NumberIn(command.value, 0, 1)) {
        return std::string{kError};
    }
    echo_ = command.value == "1";
    return std::string{kOk};
}

// Settings the module takes without changing anything the simulation shows.
// Numeric results (V0) and quiet mode (Q1) are not simulated.
std::string Tc35Module::acceptSetting(const AtCommand& command, platform::Micros, Info&) {
    struct Range {
        std::string_view name;
        Form form;
        int low;
        int high;
    };
    static constexpr std::array kRanges = {
        Range{"V", Form::Action, 1, 1},     Range{"Q", Form::Action, 0, 0},
        Range{"X", Form::Action, 0, 4},     Range{"&C", Form::Action, 0, 1},
        Range{"&D", Form::Action, 0, 2},    Range{"&W", Form::Action, 0, 0},
        Range{"^SNFS", Form::Set, 0, 8},    Range{"^SSYNC", Form::Set, 0, 2},
        Range{"^SNFD", Form::Action, 0, 0}, Range{"+CRC", Form::Set, 0, 1},
        Range{"+CMEE", Form::Set, 0, 2},
    };
    const auto range = std::find_if(kRanges.begin(), kRanges.end(),
                                    [&](const Range& r) { return r.name == command.name; });
    const bool fits = range != kRanges.end() && command.form == range->form &&
                      (command.form == Form::Set ? !command.value.empty() : true) &&
                      NumberIn(command.value, range->low, range->high);
    return std::string{fits ? kOk : kError};
}

std::string Tc35Module::identify(const AtCommand& command, platform::Micros, Info& info) {
    if (!NumberIn(command.value, 0, 0)) {
        return std::string{kError};
    }
    info.push_back(config_.manufacturer + "\r\n" + config_.model + "\r\nREVISION " +
                   config_.revision);
    return std::string{kOk};
}

std::string Tc35Module::manufacturer(const AtCommand& command, platform::Micros, Info& info) {
    if (command.form != Form::Action) {
        return std::string{kError};
    }
    info.push_back(config_.manufacturer);
    return std::string{kOk};
}

std::string Tc35Module::modelName(const AtCommand& command, platform::Micros, Info& info) {
    if (command.form != Form::Action) {
        return std::string{kError};
    }
    info.push_back(config_.model);
    return std::string{kOk};
}

std::string Tc35Module::revision(const AtCommand& command, platform::Micros, Info& info) {
    if (command.form != Form::Action) {
        return std::string{kError};
    }
    info.push_back("REVISION " + config_.revision);
    return std::string{kOk};
}

std::string Tc35Module::serialNumber(const AtCommand& command, platform::Micros, Info& info) {
    if (command.form != Form::Action) {
        return std::string{kError};
    }
    info.push_back(config_.imei);
    return std::string{kOk};
}

std::string Tc35Module::signalQuality(const AtCommand& command, platform::Micros, Info& info) {
    if (command.form != Form::Action) {
        return std::string{kError};
    }
    info.push_back("+CSQ: " + std::to_string(config_.rssi) + "," + std::to_string(config_.ber));
    return std::string{kOk};
}

std::string Tc35Module::pinCommand(const AtCommand& command, platform::Micros, Info& info) {
    switch (command.form) {
        case Form::Query:
            info.push_back("+CPIN: " + pinState_);
            return std::string{kOk};
        case Form::Set:
            return enterPin(Arguments(command.value));
        default:
            return std::string{kError};
    }
}

// Three wrong PINs block the SIM until its PUK and a new PIN are given.
std::string Tc35Module::enterPin(const std::vector<std::string>& codes) {
    struct Lock {
        std::string_view state;
        std::string* code;
        std::string* unblocks;  // the PIN a PUK replaces
        std::string_view blockedState;
    };
    const std::array locks = {
        Lock{"SIM PIN", &config_.pin, nullptr, "SIM PUK"},
        Lock{"SIM PIN2", &config_.pin2, nullptr, "SIM PUK2"},
        Lock{"SIM PUK", &config_.puk, &config_.pin, {}},
        Lock{"SIM PUK2", &config_.puk2, &config_.pin2, {}},
    };
    const auto lock = std::find_if(locks.begin(), locks.end(),
                                   [&](const Lock& l) { return l.state == pinState_; });
    if (lock == locks.end()) {
        return std::string{kNotAllowed};
    }
    const std::size_t wanted = lock->unblocks ? 2 : 1;
    if (codes.size() != wanted || codes[0].empty()) {
        return std::string{kError};
    }
    if (codes[0] != *lock->code) {
        if (!lock->blockedState.empty() && ++wrongCodes_ == 3) {
            pinState_ = lock->blockedState;
            wrongCodes_ = 0;
        }
        return std::string{kWrongCode};
    }
    if (lock->unblocks) {
        *lock->unblocks = codes[1];
    }
    pinState_ = "READY";
    wrongCodes_ = 0;
    return std::string{kOk};
}

std::string Tc35Module::clockCommand(const AtCommand& command, platform::Micros at, Info& info) {
    if (command.form == Form::Query) {
        info.push_back("+CCLK: \"" + clock_.readAt(at) + "\"");
        return std::string{kOk};
    }
    const std::string_view value = command.value;
    if (command.form != Form::Set || value.size() < 2 || value.front() != '"' ||
        value.back() != '"') {
        return std::string{kError};
    }
    const auto seconds = ModuleClock::Parse(value.substr(1, value.size() - 2));
    if (!seconds) {
        return std::string{kError};
    }
    clock_.set(*seconds, at);
    return std::string{kOk};
}

std::string Tc35Module::battery(const AtCommand& command, platform::Micros, Info& info) {
    if (command.form == Form::Query) {
        info.push_back("^SBC: 0,0,0");
        return std::string{kOk};
    }
    const bool fits = command.form == Form::Set && NumberIn(command.value, 0, 5000);
    return std::string{fits && !command.value.empty() ? kOk : kError};
}

std::string Tc35Module::callerIdSetting(const AtCommand& command, platform::Micros, Info& info) {
    if (command.form == Form::Query) {
        info.push_back(std::string{"+CLIP: "} + (callerId_ ? "1" : "0") + ",1");
        return std::string{kOk};
    }
    if (command.form != Form::Set || command.value.empty() || !NumberIn(command.value, 0, 1)) {
        return std::string{kError};
    }
    callerId_ = command.value == "1";
    return std::string{kOk};
}

// A fixed rate takes effect after the OK; autobauding (0) is not
// simulated, the module keeps the speed it has.
std::string Tc35Module::portSpeed(const AtCommand& command, platform::Micros, Info& info) {
    static constexpr std::array kRates = {0,     300,   600,   1200,  2400,  4800,  9600,
                                          14400, 19200, 28800, 38400, 57600, 115200};
    if (command.form == Form::Query) {
        info.push_back("+IPR: " + std::to_string(baud_));
        return std::string{kOk};
    }
    const auto rate = command.form == Form::Set ? Number(command.value) : std::nullopt;
    if (!rate || std::find(kRates.begin(), kRates.end(), *rate) == kRates.end()) {
        return std::string{kError};
    }
    if (*rate != 0) {
        baud_ = *rate;
    }
    return std::string{kOk};
}

std::optional<std::string> Tc35Module::simLocked() const {
    if (pinState_ == "SIM PIN") {
        return "+CME ERROR: 11";
    }
    if (pinState_ == "SIM PUK") {
        return "+CME ERROR: 12";
    }
    return std::nullopt;
}

std::string Tc35Module::dial(const AtCommand& command, platform::Micros at, Info& info) {
    const std::string_view target = command.value;
    if (target == "*#06#") {
        info.push_back(config_.imei);
        return std::string{kOk};
    }
    if (!target.ends_with(';')) {
        // Data and fax calls are not simulated.
        return std::string{target.empty() ? kError : kNoCarrier};
    }
    const std::string_view number = target.substr(0, target.size() - 1);
    if (number.empty() || call_) {
        return std::string{kError};
    }
    if (const auto locked = simLocked()) {
        return *locked;
    }
    if (config_.dialResult != kOk) {
        return config_.dialResult;
    }
    call_ = Tc35Call{std::string{number}, false, true, at};
    return std::string{kOk};
}

std::string Tc35Module::answer(const AtCommand& command, platform::Micros at, Info&) {
    if (!command.value.empty()) {
        return std::string{kError};
    }
    if (!call_ || call_->active) {
        return std::string{kNoCarrier};
    }
    call_->active = true;
    call_->since = at;
    return std::string{kOk};
}

std::string Tc35Module::hangUp(const AtCommand& command, platform::Micros at, Info&) {
    if (command.form != Form::Action || !NumberIn(command.value, 0, 0)) {
        return std::string{kError};
    }
    endCall(at);
    return std::string{kOk};
}

void Tc35Module::endCall(platform::Micros at) {
    if (call_ && call_->active) {
        lastCallLength_ = at - call_->since;
    }
    call_.reset();
}

// The call now up or, between calls, the last one.
std::string Tc35Module::lastCallDuration(const AtCommand& command, platform::Micros at,
                                         Info& info) {
    if (command.form != Form::Action) {
        return std::string{kError};
    }
    const bool up = call_ && call_->active;
    info.push_back("^SLCD: " + Duration(up ? at - call_->since : lastCallLength_));
    return std::string{kOk};
}

std::string Tc35Module::tone(const AtCommand& command, platform::Micros, Info&) {
    constexpr std::string_view kTones = "0123456789*#ABCD";
    const std::string key = Unquoted(command.value);
    const bool fits = command.form == Form::Set && key.size() == 1 &&
                      kTones.find(key[0]) != std::string_view::npos;
    return std::string{fits ? kOk : kError};
}

std::string Tc35Module::networkOperator(const AtCommand& command, platform::Micros, Info& info) {
    if (command.form != Form::Query) {
        return std::string{kError};
    }
    const bool registered = !simLocked() && !config_.operatorName.empty();
    info.push_back(registered ? "+COPS: 0,0,\"" + config_.operatorName + "\"" : "+COPS: 0");
    return std::string{kOk};
}

std::string Tc35Module::listCalls(const AtCommand& command, platform::Micros, Info& info) {
    if (command.form != Form::Action) {
        return std::string{kError};
    }
    if (call_) {
        // +CLCC: <id>,<dir>,<stat>,<mode>,<mpty>,<number>,<type>; stat 0 active, 4 incoming.
        const char* const type = call_->number.starts_with('+') ? "145" : "129";
        info.push_back(std::string{"+CLCC: 1,"} + (call_->incoming ? "1" : "0") + "," +
                       (call_->active ? "0" : "4") + ",0,0,\"" + call_->number + "\"," + type);
    }
    return std::string{kOk};
}

}  // namespace tc35
