#include "tests/support/tc35sim_options.h"

#include <charconv>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>

#include "tests/support/tc35_clock.h"

namespace tc35 {
namespace {

template <typename Number>
Number ParseNumber(std::string_view option, std::string_view text, Number low, Number high) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size() || value < low ||
        value > high) {
        throw std::invalid_argument(std::string{option} + ": not a number from " +
                                    std::to_string(low) + " to " + std::to_string(high) + ": " +
                                    std::string{text});
    }
    return value;
}

struct Pending {
    Tc35SimOptions options;
    std::optional<std::string> revision;
};

using Setter = std::function<void(Pending&, std::string_view option, std::string_view value)>;

const std::map<std::string_view, Setter>& ValueOptions() {
    static const std::map<std::string_view, Setter> kOptions = {
        {"--link", [](Pending& p, auto, auto v) { p.options.link = v; }},
        {"--baud", [](Pending& p, auto o,
                      auto v) { p.options.config.baud = ParseNumber(o, v, 50, 4000000); }},
        {"--model",
         [](Pending& p, auto o, auto v) {
             if (v == "TC35" || v == "TC35i") {
                 const Tc35Config model = v == "TC35" ? ConfigForTc35() : ConfigForTc35i();
                 p.options.config.model = model.model;
                 p.options.config.revision = model.revision;
             } else {
                 throw std::invalid_argument(std::string{o} + ": TC35 or TC35i, not " +
                                             std::string{v});
             }
         }},
        {"--manufacturer", [](Pending& p, auto, auto v) { p.options.config.manufacturer = v; }},
        {"--revision", [](Pending& p, auto, auto v) { p.revision = v; }},
        {"--imei", [](Pending& p, auto, auto v) { p.options.config.imei = v; }},
        {"--rssi",
         [](Pending& p, auto o, auto v) { p.options.config.rssi = ParseNumber(o, v, 0, 99); }},
        {"--ber",
         [](Pending& p, auto o, auto v) { p.options.config.ber = ParseNumber(o, v, 0, 99); }},
        {"--pin",
         [](Pending& p, auto o, auto v) {
             for (const std::string_view state :
                  {"READY", "SIM PIN", "SIM PUK", "SIM PIN2", "SIM PUK2"}) {
                 if (v == state) {
                     p.options.config.pinState = v;
                     return;
                 }
             }
             throw std::invalid_argument(std::string{o} + ": not a PIN state: " + std::string{v});
         }},
        {"--pin-code", [](Pending& p, auto, auto v) { p.options.config.pin = v; }},
        {"--puk-code", [](Pending& p, auto, auto v) { p.options.config.puk = v; }},
        {"--clock",
         [](Pending& p, auto o, auto v) {
             if (!ModuleClock::Parse(v)) {
                 throw std::invalid_argument(std::string{o} +
                                             ": not yy/MM/dd,hh:mm:ss: " + std::string{v});
             }
             p.options.config.clock = v;
         }},
        {"--delay-ms",
         [](Pending& p, auto o, auto v) {
             p.options.config.replyDelay = ParseNumber<platform::Micros>(o, v, 0, 3'600'000) * 1000;
         }},
        {"--error", [](Pending& p, auto, auto v) { p.options.config.errorCommands.emplace(v); }},
        {"--operator", [](Pending& p, auto, auto v) { p.options.config.operatorName = v; }},
        {"--dial-result", [](Pending& p, auto, auto v) { p.options.config.dialResult = v; }},
    };
    return kOptions;
}

const std::map<std::string_view, std::function<void(Pending&)>>& Flags() {
    static const std::map<std::string_view, std::function<void(Pending&)>> kFlags = {
        {"--silent", [](Pending& p) { p.options.config.silent = true; }},
        {"--no-echo", [](Pending& p) { p.options.config.echo = false; }},
        {"--clock-stopped", [](Pending& p) { p.options.config.clockRuns = false; }},
        {"--help", [](Pending& p) { p.options.help = true; }},
    };
    return kFlags;
}

}  // namespace

Tc35SimOptions ParseTc35SimArguments(std::span<const std::string_view> arguments) {
    Pending pending;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view option = arguments[i];
        if (const auto flag = Flags().find(option); flag != Flags().end()) {
            flag->second(pending);
            continue;
        }
        const auto setter = ValueOptions().find(option);
        if (setter == ValueOptions().end()) {
            throw std::invalid_argument("unknown option: " + std::string{option});
        }
        if (i + 1 == arguments.size()) {
            throw std::invalid_argument(std::string{option} + ": value missing");
        }
        setter->second(pending, option, arguments[++i]);
    }
    // --model picks the model's own revision; --revision wins wherever it stands.
    if (pending.revision) {
        pending.options.config.revision = *pending.revision;
    }
    if (pending.options.link.empty() && !pending.options.help) {
        throw std::invalid_argument("--link is required");
    }
    return pending.options;
}

std::string Tc35SimUsage() {
    return "usage: tc35sim --link PATH [--baud 9600] [--model TC35|TC35i] [--revision 01.05]\n"
           "               [--manufacturer SIEMENS] [--imei 490154203237518]\n"
           "               [--rssi 20] [--ber 99] [--pin READY|'SIM PIN'|'SIM PUK'|...]\n"
           "               [--pin-code 7395] [--puk-code 12345678]\n"
           "               [--clock yy/MM/dd,hh:mm:ss] [--clock-stopped] [--delay-ms 0]\n"
           "               [--silent] [--no-echo] [--error COMMAND]... [--operator NAME]\n"
           "               [--dial-result 'NO CARRIER']\n"
           "Makes PATH a link to a pseudo-terminal on which a TC35 module answers,\n"
           "prints the terminal's name and runs until SIGINT or SIGTERM.\n";
}

}  // namespace tc35
