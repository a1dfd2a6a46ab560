#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"
#include "tests/support/tc35_config.h"
#include "tests/support/tc35_module.h"

namespace tc35 {

// A TC35/TC35i as seen from its serial line: bytes in, echo and replies out.
// It knows no device and no clock of its own; the caller says when bytes
// arrive and learns when each output is due.
class Tc35Simulator {
  public:
    // Output and the time it is due. Calls come in the order the module
    // decides them; a delayed reply may be due after a later echo, so a
    // consumer orders them by time (TimedOutputQueue does).
    using Sink = std::function<void(platform::Micros at, std::string bytes)>;

    struct ReceivedLine {
        platform::Micros at;
        // As received, without its CR: "AT+CSQ", "at+cpin=7395", "A/".
        std::string line;
        bool operator==(const ReceivedLine&) const = default;
    };

    // The module's clock reads config.clock at `start`.
    explicit Tc35Simulator(Tc35Config config = {}, platform::Micros start = 0);

    void setSink(Sink sink) { sink_ = std::move(sink); }

    // Bytes that reached the module at `at`, sent at `lineBaud`. At any other
    // speed than the module's they are noise and spoil a line begun.
    void receive(std::string_view bytes, platform::Micros at, std::int32_t lineBaud);

    // "\r\n" + line + "\r\n" at `at`, e.g. "RING".
    void unsolicited(platform::Micros at, std::string_view line);
    // A call comes in: RING (and +CLIP when caller id is on); ATA takes it.
    void incomingCall(platform::Micros at, std::string number);

    // Settings read at each command (see Tc35Config).
    Tc35Config& config() { return module_.config(); }
    const Tc35Module& module() const { return module_; }

    // Command lines heard at the module's speed, in order.
    const std::vector<ReceivedLine>& commands() const { return commands_; }
    // Bytes dropped as noise (wrong speed).
    std::size_t noiseBytes() const { return noiseBytes_; }
    // What "AT+CCLK?" would read at `at`.
    std::string clockAt(platform::Micros at) const { return module_.clockAt(at); }

  private:
    enum class State { Idle, GotA, InLine };

    void accept(char c, platform::Micros at, std::string& echo);
    // Replies to a whole line ("AT..."); an empty one (no line before "A/") is an error.
    void answer(const std::string& line, platform::Micros at);
    void emit(platform::Micros at, std::string bytes);

    Tc35Module module_;
    Sink sink_;
    State state_ = State::Idle;
    std::string line_;
    std::string lastLine_;
    std::vector<ReceivedLine> commands_;
    std::size_t noiseBytes_ = 0;
};

}  // namespace tc35
