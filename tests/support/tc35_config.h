#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>

#include "platform/clock.h"

namespace tc35 {

// How a simulated TC35/TC35i behaves. baud, echo, pinState, clock and
// clockRuns are its power-on state; every other field is read afresh for
// each command line, so a test may change it between commands.
struct Tc35Config {
    // The only line speed the module understands; anything else is noise.
    std::int32_t baud = 9600;

    // "ATI" answers manufacturer, model and "REVISION " + revision, one a line.
    std::string manufacturer = "SIEMENS";
    std::string model = "TC35i";
    std::string revision = "01.05";
    std::string imei = "490154203237518";

    // "+CSQ: <rssi>,<ber>"; 99 stands for "not known".
    int rssi = 20;
    int ber = 99;

    // What "AT+CPIN?" reports: "READY", "SIM PIN", "SIM PUK", "SIM PIN2", "SIM PUK2".
    std::string pinState = "READY";
    std::string pin = "7395";
    std::string puk = "12345678";
    std::string pin2 = "5678";
    std::string puk2 = "87654321";

    // Module clock at power-on, "yy/MM/dd,hh:mm:ss".
    std::string clock = "00/01/01,00:00:00";
    bool clockRuns = true;

    // Delay between a command line's CR and its reply; the echo is immediate.
    platform::Micros replyDelay = 0;
    // Neither echo nor reply; the module still hears and obeys.
    bool silent = false;
    // Echo at power-on and after AT&F / ATZ (ATE0 / ATE1 change it).
    bool echo = true;

    // Command lines (text after the echo's "AT" included, without CR) that
    // answer "ERROR" or a raw reply of their own. Letter case is ignored; an
    // entry ending in '=' matches every line that begins with it.
    std::set<std::string> errorCommands;
    std::map<std::string, std::string> replyOverrides;

    // "+COPS: 0,0,\"<operatorName>\""; empty means not registered.
    std::string operatorName = "CHINA MOBILE";
    // Final result of "ATD<number>;": "OK" starts the call, anything else
    // ("NO CARRIER", "BUSY") is sent instead and no call is made.
    std::string dialResult = "OK";
};

inline Tc35Config ConfigForTc35i() {
    return Tc35Config{};
}

inline Tc35Config ConfigForTc35() {
    Tc35Config config;
    config.model = "TC35";
    config.revision = "04.00";
    return config;
}

}  // namespace tc35
