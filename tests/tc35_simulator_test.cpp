#include "tests/support/tc35_simulator.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/support/timed_output_queue.h"

namespace {

using platform::Micros;
using tc35::Tc35Config;
using tc35::Tc35Simulator;

constexpr Micros kMs = 1000;
constexpr Micros kSecond = 1'000'000;

struct Output {
    Micros at;
    std::string bytes;
    bool operator==(const Output&) const = default;
};

void PrintTo(const Output& output, std::ostream* os) {
    *os << "{" << output.at << ", \"";
    for (const char c : output.bytes) {
        *os << (c == '\r' ? "\\r" : c == '\n' ? "\\n" : std::string(1, c));
    }
    *os << "\"}";
}

// A simulator with every output it makes, in the order it made them.
class Module {
  public:
    explicit Module(Tc35Config config = {}) : sim_(std::make_unique<Tc35Simulator>(config)) {
        sim_->setSink([this](Micros at, std::string bytes) {
            outputs_.push_back({at, std::move(bytes)});
        });
    }

    Tc35Simulator& operator*() { return *sim_; }
    Tc35Simulator* operator->() { return sim_.get(); }

    // Sends at 9600 and returns everything the module answers to it.
    std::string send(std::string_view bytes, Micros at = 0, std::int32_t baud = 9600) {
        const std::size_t before = outputs_.size();
        sim_->receive(bytes, at, baud);
        std::string text;
        for (std::size_t i = before; i < outputs_.size(); ++i) {
            text += outputs_[i].bytes;
        }
        return text;
    }

    const std::vector<Output>& outputs() const { return outputs_; }

  private:
    std::unique_ptr<Tc35Simulator> sim_;
    std::vector<Output> outputs_;
};

struct Exchange {
    const char* sent;
    const char* answer;
};

TEST(Tc35Simulator, AnswersEveryCommandOfTheProgram) {
    const Exchange cases[] = {
        {"AT&F\r\n", "AT&F\r\r\nOK\r\n"},
        {"AT+CCLK=\"07/01/05,23:59:59\"\r\n", "AT+CCLK=\"07/01/05,23:59:59\"\r\r\nOK\r\n"},
        {"AT+CCLK?\r\n", "AT+CCLK?\r\r\n+CCLK: \"00/01/01,00:00:00\"\r\n\r\nOK\r\n"},
        {"AT^SBC=0^SBC?\r\n", "AT^SBC=0^SBC?\r\r\n^SBC: 0,0,0\r\n\r\nOK\r\n"},
        {"AT^SNFD\r\n", "AT^SNFD\r\r\nOK\r\n"},
        {"AT&D0X4^SNFS=4^SSYNC=1+CRC=0+CLIP=0+IPR=0\r\n",
         "AT&D0X4^SNFS=4^SSYNC=1+CRC=0+CLIP=0+IPR=0\r\r\nOK\r\n"},
        {"ATD*#06#\r\n", "ATD*#06#\r\r\n490154203237518\r\n\r\nOK\r\n"},
        {"ATI\r\n", "ATI\r\r\nSIEMENS\r\nTC35i\r\nREVISION 01.05\r\n\r\nOK\r\n"},
        {"AT+CSQ\r\n", "AT+CSQ\r\r\n+CSQ: 20,99\r\n\r\nOK\r\n"},
        {"AT+CPIN?\r\n", "AT+CPIN?\r\r\n+CPIN: READY\r\n\r\nOK\r\n"},
        {"AT+CPIN=7395\r\n", "AT+CPIN=7395\r\r\n+CME ERROR: 3\r\n"},
        {"ATD10086;\r\n", "ATD10086;\r\r\nOK\r\n"},
        {"ATA\r\n", "ATA\r\r\nNO CARRIER\r\n"},
        {"AT+CHUP\r\n", "AT+CHUP\r\r\nOK\r\n"},
        {"AT^SLCD\r\n", "AT^SLCD\r\r\n^SLCD: 00:00:00\r\n\r\nOK\r\n"},
        {"AT+VTS=1\r\n", "AT+VTS=1\r\r\nOK\r\n"},
        {"AT+VTS=*\r\n", "AT+VTS=*\r\r\nOK\r\n"},
        {"AT+VTS=#\r\n", "AT+VTS=#\r\r\nOK\r\n"},
        {"AT+VTS=E\r\n", "AT+VTS=E\r\r\nERROR\r\n"},
        {"AT+COPS?\r\n", "AT+COPS?\r\r\n+COPS: 0,0,\"CHINA MOBILE\"\r\n\r\nOK\r\n"},
        {"AT+CLCC\r\n", "AT+CLCC\r\r\nOK\r\n"},
        // Not the program's, but what an operator may type.
        {"AT\r\n", "AT\r\r\nOK\r\n"},
        {"at+csq\r", "at+csq\r\r\n+CSQ: 20,99\r\n\r\nOK\r\n"},
        {"AT + CSQ\r", "AT + CSQ\r\r\n+CSQ: 20,99\r\n\r\nOK\r\n"},
        {"AT+CGSN\r", "AT+CGSN\r\r\n490154203237518\r\n\r\nOK\r\n"},
        {"AT+CSQ?\r", "AT+CSQ?\r\r\nERROR\r\n"},
        {"ATV0\r", "ATV0\r\r\nERROR\r\n"},
        {"AT+CCLK=\"07/13/05,23:59:59\"\r", "AT+CCLK=\"07/13/05,23:59:59\"\r\r\nERROR\r\n"},
        {"AT+CCLK=07/01/05,23:59:59\r", "AT+CCLK=07/01/05,23:59:59\r\r\nERROR\r\n"},
        {"AT+CPIN=\"7395\r", "AT+CPIN=\"7395\r\r\nERROR\r\n"},
        {"AT+FOO\r", "AT+FOO\r\r\nERROR\r\n"},
        {"ATD12345\r", "ATD12345\r\r\nNO CARRIER\r\n"},
    };
    for (const Exchange& c : cases) {
        Module module;
        EXPECT_EQ(module.send(c.sent), c.answer) << c.sent;
    }
}

TEST(Tc35Simulator, IdentifiesItsModelAndRevision) {
    struct Case {
        Tc35Config config;
        const char* answer;
    };
    Tc35Config odd = tc35::ConfigForTc35i();
    odd.revision = "01.04";
    const Case cases[] = {
        {tc35::ConfigForTc35i(), "\r\nSIEMENS\r\nTC35i\r\nREVISION 01.05\r\n\r\nOK\r\n"},
        {tc35::ConfigForTc35(), "\r\nSIEMENS\r\nTC35\r\nREVISION 04.00\r\n\r\nOK\r\n"},
        {odd, "\r\nSIEMENS\r\nTC35i\r\nREVISION 01.04\r\n\r\nOK\r\n"},
    };
    for (const Case& c : cases) {
        Module module{c.config};
        EXPECT_EQ(module.send("ATI\r\n"), std::string{"ATI\r"} + c.answer);
    }
}

TEST(Tc35Simulator, TakesOnlyItsOwnSpeed) {
    for (const std::int32_t baud : {300, 4800, 14400, 19200, 57600, 115200}) {
        Module module;
        EXPECT_EQ(module.send("AT&F\r\n", 0, baud), "") << baud;
        EXPECT_TRUE(module->commands().empty());
        EXPECT_EQ(module->noiseBytes(), 6u);
        EXPECT_EQ(module.send("AT&F\r\n", kSecond), "AT&F\r\r\nOK\r\n") << baud;
    }
}

TEST(Tc35Simulator, NoiseSpoilsTheLineBegun) {
    Module module;
    EXPECT_EQ(module.send("AT+C", 0), "AT+C");
    EXPECT_EQ(module.send("xx", 1 * kMs, 19200), "");
    EXPECT_EQ(module.send("SQ\r\n", 2 * kMs), "");
    EXPECT_TRUE(module->commands().empty());
    EXPECT_EQ(module.send("AT+CSQ\r\n", 3 * kMs), "AT+CSQ\r\r\n+CSQ: 20,99\r\n\r\nOK\r\n");
}

TEST(Tc35Simulator, EchoesAsBytesArriveAndAnswersAtTheCarriageReturn) {
    Module module;
    const std::string line = "AT+CSQ\r\n";
    for (std::size_t i = 0; i < line.size(); ++i) {
        module->receive(line.substr(i, 1), static_cast<Micros>(i) * kMs, 9600);
    }
    // "A" waits for its "T": only then is it a command line. The LF is no part of it.
    const std::vector<Output> expected = {
        {1 * kMs, "AT"},
        {2 * kMs, "+"},
        {3 * kMs, "C"},
        {4 * kMs, "S"},
        {5 * kMs, "Q"},
        {6 * kMs, "\r"},
        {6 * kMs, "\r\n+CSQ: 20,99\r\n\r\nOK\r\n"},
    };
    EXPECT_EQ(module.outputs(), expected);
}

TEST(Tc35Simulator, IgnoresWhatIsNoCommandLine) {
    Module module;
    EXPECT_EQ(module.send("hello\r\n", 0), "");
    EXPECT_EQ(module.send("\r\n", 0), "");
    EXPECT_EQ(module.send("aT\r", 0), "");
    EXPECT_TRUE(module->commands().empty());
}

TEST(Tc35Simulator, AnswersSeveralLinesOfOneWriteInTurn) {
    Module module;
    EXPECT_EQ(module.send("AT\r\nAT+CSQ\r\n", 5 * kMs),
              "AT\r\r\nOK\r\nAT+CSQ\r\r\n+CSQ: 20,99\r\n\r\nOK\r\n");
    const std::vector<Tc35Simulator::ReceivedLine> expected = {{5 * kMs, "AT"},
                                                               {5 * kMs, "AT+CSQ"}};
    EXPECT_EQ(module->commands(), expected);
}

TEST(Tc35Simulator, RepeatsThePreviousLineOnAslash) {
    Module module;
    module.send("AT+CSQ\r\n");
    EXPECT_EQ(module.send("A/"), "A/\r\n+CSQ: 20,99\r\n\r\nOK\r\n");
    EXPECT_EQ(module->commands().back().line, "A/");
}

TEST(Tc35Simulator, ClockRunsOnFromTheTimeItWasSet) {
    Module module;
    module.send("AT+CCLK=\"07/01/05,23:59:59\"\r\n", 2 * kSecond);
    const struct {
        Micros at;
        const char* reads;
    } cases[] = {
        {2 * kSecond + 800 * kMs, "07/01/05,23:59:59"},
        {3 * kSecond, "07/01/06,00:00:00"},
        {3 * kSecond + 700 * kMs, "07/01/06,00:00:00"},
        {63 * kSecond, "07/01/06,00:01:00"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(module.send("AT+CCLK?\r\n", c.at),
                  std::string{"AT+CCLK?\r\r\n+CCLK: \""} + c.reads + "\"\r\n\r\nOK\r\n");
        EXPECT_EQ(module->clockAt(c.at), c.reads);
    }
}

TEST(Tc35Simulator, ClockRunsFromPowerOn) {
    Tc35Config config;
    config.clock = "07/12/31,23:59:58";
    Tc35Simulator sim{config, 10 * kSecond};
    EXPECT_EQ(sim.clockAt(10 * kSecond), "07/12/31,23:59:58");
    EXPECT_EQ(sim.clockAt(12 * kSecond), "08/01/01,00:00:00");
}

TEST(Tc35Simulator, StoppedClockKeepsTheValueSet) {
    Tc35Config config;
    config.clockRuns = false;
    Module module{config};
    EXPECT_EQ(module->clockAt(5 * kSecond), "00/01/01,00:00:00");
    module.send("AT+CCLK=\"07/01/05,23:59:59\"\r\n", kSecond);
    EXPECT_EQ(module.send("AT+CCLK?\r\n", 10 * kSecond),
              "AT+CCLK?\r\r\n+CCLK: \"07/01/05,23:59:59\"\r\n\r\nOK\r\n");
}

TEST(Tc35Simulator, RejectsAMalformedPowerOnClock) {
    Tc35Config config;
    config.clock = "07/02/30,00:00:00";
    EXPECT_THROW(Tc35Simulator{config}, std::invalid_argument);
}

struct PinStep {
    const char* command;
    const char* answer;
};

struct PinCase {
    const char* name;
    const char* start;
    std::vector<PinStep> steps;
    const char* end;
};

TEST(Tc35Simulator, PinFlow) {
    const PinCase cases[] = {
        {"right pin",
         "SIM PIN",
         {{"AT+CPIN?", "\r\n+CPIN: SIM PIN\r\n\r\nOK\r\n"}, {"AT+CPIN=7395", "\r\nOK\r\n"}},
         "READY"},
        {"quoted pin", "SIM PIN", {{"AT+CPIN=\"7395\"", "\r\nOK\r\n"}}, "READY"},
        {"wrong then right",
         "SIM PIN",
         {{"AT+CPIN=1111", "\r\n+CME ERROR: 16\r\n"},
          {"AT+CPIN?", "\r\n+CPIN: SIM PIN\r\n\r\nOK\r\n"},
          {"AT+CPIN=7395", "\r\nOK\r\n"}},
         "READY"},
        {"three wrong block the sim",
         "SIM PIN",
         {{"AT+CPIN=1111", "\r\n+CME ERROR: 16\r\n"},
          {"AT+CPIN=2222", "\r\n+CME ERROR: 16\r\n"},
          {"AT+CPIN=3333", "\r\n+CME ERROR: 16\r\n"},
          {"AT+CPIN?", "\r\n+CPIN: SIM PUK\r\n\r\nOK\r\n"},
          {"AT+CPIN=7395", "\r\nERROR\r\n"},
          {"AT+CPIN=12345678,4321", "\r\nOK\r\n"}},
         "READY"},
        {"second pin", "SIM PIN2", {{"AT+CPIN=5678", "\r\nOK\r\n"}}, "READY"},
        {"first pin is not the second",
         "SIM PIN2",
         {{"AT+CPIN=7395", "\r\n+CME ERROR: 16\r\n"}},
         "SIM PIN2"},
        {"locked sim neither dials nor registers",
         "SIM PIN",
         {{"ATD10086;", "\r\n+CME ERROR: 11\r\n"}, {"AT+COPS?", "\r\n+COPS: 0\r\n\r\nOK\r\n"}},
         "SIM PIN"},
        {"no pin wanted", "READY", {{"AT+CPIN=7395", "\r\n+CME ERROR: 3\r\n"}}, "READY"},
    };
    for (const PinCase& c : cases) {
        Tc35Config config;
        config.pinState = c.start;
        Module module{config};
        for (const PinStep& step : c.steps) {
            const std::string line = std::string{step.command} + "\r\n";
            EXPECT_EQ(module.send(line), std::string{step.command} + "\r" + step.answer) << c.name;
        }
        EXPECT_EQ(module->module().pinState(), c.end) << c.name;
    }
}

TEST(Tc35Simulator, PukSetsTheNewPin) {
    Tc35Config config;
    config.pinState = "SIM PUK";
    Module module{config};
    module.send("AT+CPIN=12345678,4321\r");
    EXPECT_EQ(module->config().pin, "4321");
}

TEST(Tc35Simulator, ConfiguredErrorsAndReplies) {
    struct Case {
        std::set<std::string> errors;
        std::map<std::string, std::string> replies;
        const char* sent;
        const char* answer;
    };
    const Case cases[] = {
        {{"AT&F"}, {}, "AT&F\r", "\r\nERROR\r\n"},
        {{"AT&F"}, {}, "at&f\r", "\r\nERROR\r\n"},
        {{"AT&F"}, {}, "AT+CSQ\r", "\r\n+CSQ: 20,99\r\n\r\nOK\r\n"},
        {{"AT+CCLK="}, {}, "AT+CCLK=\"07/01/05,23:59:59\"\r", "\r\nERROR\r\n"},
        {{"AT+CCLK="}, {}, "AT+CCLK?\r", "\r\n+CCLK: \"00/01/01,00:00:00\"\r\n\r\nOK\r\n"},
        {{}, {{"AT+CSQ", "\r\ncsq: 9,99\r\n"}}, "AT+CSQ\r", "\r\ncsq: 9,99\r\n"},
        {{}, {{"AT+CPIN=", ""}}, "AT+CPIN=7395\r", ""},
    };
    for (const Case& c : cases) {
        Tc35Config config;
        config.errorCommands = c.errors;
        config.replyOverrides = c.replies;
        Module module{config};
        const std::string sent = c.sent;
        EXPECT_EQ(module.send(sent), sent + c.answer) << c.sent;
    }
}

TEST(Tc35Simulator, ErrorCommandsChangeNothing) {
    Tc35Config config;
    config.errorCommands = {"AT+CCLK="};
    Module module{config};
    module.send("AT+CCLK=\"07/01/05,23:59:59\"\r", 0);
    EXPECT_EQ(module->clockAt(0), "00/01/01,00:00:00");
}

TEST(Tc35Simulator, DelaysTheReplyButNotTheEcho) {
    Tc35Config config;
    config.replyDelay = 500 * kMs;
    Module module{config};
    module->receive("AT+CSQ\r\n", 1 * kSecond, 9600);
    // The program's next command goes out when its 300 ms window closes.
    module->receive("AT+CPIN?\r\n", 1 * kSecond + 300 * kMs, 9600);
    const std::vector<Output> expected = {
        {1 * kSecond, "AT+CSQ\r"},
        {1 * kSecond + 500 * kMs, "\r\n+CSQ: 20,99\r\n\r\nOK\r\n"},
        {1 * kSecond + 300 * kMs, "AT+CPIN?\r"},
        {1 * kSecond + 800 * kMs, "\r\n+CPIN: READY\r\n\r\nOK\r\n"},
    };
    EXPECT_EQ(module.outputs(), expected);

    tc35::TimedOutputQueue line;
    for (const Output& output : module.outputs()) {
        line.push(output.at, output.bytes);
    }
    EXPECT_EQ(line.takeDue(1 * kSecond + 299 * kMs), "AT+CSQ\r");
    EXPECT_EQ(line.nextDue(), 1 * kSecond + 300 * kMs);
    EXPECT_EQ(line.takeDue(1 * kSecond + 600 * kMs), "AT+CPIN?\r\r\n+CSQ: 20,99\r\n\r\nOK\r\n");
    EXPECT_EQ(line.takeDue(2 * kSecond), "\r\n+CPIN: READY\r\n\r\nOK\r\n");
    EXPECT_TRUE(line.empty());
}

TEST(Tc35Simulator, SilentModuleSaysNothingButObeys) {
    Tc35Config config;
    config.silent = true;
    Module module{config};
    EXPECT_EQ(module.send("AT&F\r\n", 0), "");
    EXPECT_EQ(module.send("AT+CCLK=\"07/01/05,23:59:59\"\r\n", 0), "");
    ASSERT_EQ(module->commands().size(), 2u);
    module->config().silent = false;
    EXPECT_EQ(module.send("AT+CCLK?\r\n", 0),
              "AT+CCLK?\r\r\n+CCLK: \"07/01/05,23:59:59\"\r\n\r\nOK\r\n");
}

TEST(Tc35Simulator, EchoFollowsE0AndTheFactorySetting) {
    struct Case {
        bool echo;
        const char* afterFactoryReset;
    };
    for (const Case c : {Case{true, "AT+CSQ\r"}, Case{false, ""}}) {
        Tc35Config config;
        config.echo = c.echo;
        Module module{config};
        module.send("ATE0\r");
        EXPECT_EQ(module.send("AT+CSQ\r"), "\r\n+CSQ: 20,99\r\n\r\nOK\r\n");
        module.send("AT&F\r");
        EXPECT_EQ(module.send("AT+CSQ\r"),
                  std::string{c.afterFactoryReset} + "\r\n+CSQ: 20,99\r\n\r\nOK\r\n");
        module.send("ATE1\r");
        EXPECT_EQ(module.send("AT\r"), "AT\r\r\nOK\r\n");
    }
}

TEST(Tc35Simulator, UnsolicitedLines) {
    Module module;
    module->unsolicited(7 * kMs, "RING");
    const std::vector<Output> expected = {{7 * kMs, "\r\nRING\r\n"}};
    EXPECT_EQ(module.outputs(), expected);
}

TEST(Tc35Simulator, IncomingCallRingsUntilAnswered) {
    Module module;
    module.send("AT+CLIP=1\r", 0);
    module->incomingCall(kSecond, "13800138000");
    EXPECT_EQ(module.outputs().back(), (Output{kSecond, "\r\n+CLIP: \"13800138000\",129\r\n"}));
    EXPECT_EQ(module.outputs()[module.outputs().size() - 2], (Output{kSecond, "\r\nRING\r\n"}));
    EXPECT_EQ(module.send("AT+CLCC\r", 2 * kSecond),
              "AT+CLCC\r\r\n+CLCC: 1,1,4,0,0,\"13800138000\",129\r\n\r\nOK\r\n");
    EXPECT_EQ(module.send("ATA\r", 3 * kSecond), "ATA\r\r\nOK\r\n");
    EXPECT_EQ(module.send("AT+CLCC\r", 4 * kSecond),
              "AT+CLCC\r\r\n+CLCC: 1,1,0,0,0,\"13800138000\",129\r\n\r\nOK\r\n");
    EXPECT_EQ(module.send("AT+CHUP\r", 68 * kSecond), "AT+CHUP\r\r\nOK\r\n");
    EXPECT_EQ(module.send("AT^SLCD\r", 70 * kSecond), "AT^SLCD\r\r\n^SLCD: 00:01:05\r\n\r\nOK\r\n");
    EXPECT_EQ(module.send("AT+CLCC\r", 70 * kSecond), "AT+CLCC\r\r\nOK\r\n");
    EXPECT_EQ(module.send("ATA\r", 71 * kSecond), "ATA\r\r\nNO CARRIER\r\n");
}

TEST(Tc35Simulator, DialledCall) {
    Module module;
    EXPECT_EQ(module.send("ATD+8610086;\r", kSecond), "ATD+8610086;\r\r\nOK\r\n");
    EXPECT_EQ(module.send("AT+CLCC\r", 2 * kSecond),
              "AT+CLCC\r\r\n+CLCC: 1,0,0,0,0,\"+8610086\",145\r\n\r\nOK\r\n");
    EXPECT_EQ(module.send("AT^SLCD\r", 12 * kSecond), "AT^SLCD\r\r\n^SLCD: 00:00:11\r\n\r\nOK\r\n");
    EXPECT_EQ(module.send("ATD10010;\r", 13 * kSecond), "ATD10010;\r\r\nERROR\r\n");
    module.send("ATH\r", 14 * kSecond);
    EXPECT_FALSE(module->module().call());
}

TEST(Tc35Simulator, ConfiguredDialResult) {
    Tc35Config config;
    config.dialResult = "BUSY";
    Module module{config};
    EXPECT_EQ(module.send("ATD10086;\r"), "ATD10086;\r\r\nBUSY\r\n");
    EXPECT_FALSE(module->module().call());
}

TEST(Tc35Simulator, ChangesSpeedAfterItsOk) {
    Module module;
    EXPECT_EQ(module.send("AT+IPR=19200\r"), "AT+IPR=19200\r\r\nOK\r\n");
    EXPECT_EQ(module.send("AT\r", 0, 9600), "");
    EXPECT_EQ(module.send("AT+IPR?\r", 0, 19200), "AT+IPR?\r\r\n+IPR: 19200\r\n\r\nOK\r\n");
    EXPECT_EQ(module.send("AT+IPR=1000\r", 0, 19200), "AT+IPR=1000\r\r\nERROR\r\n");
}

TEST(Tc35Simulator, StopsTheLineAtTheFirstFailure) {
    Module module;
    EXPECT_EQ(module.send("AT+CSQ+FOO+CPIN?\r"),
              "AT+CSQ+FOO+CPIN?\r\r\n+CSQ: 20,99\r\n\r\nERROR\r\n");
}

}  // namespace
