#include "tests/support/tc35_simulator.h"

#include <algorithm>
#include <cctype>

namespace tc35 {
namespace {

std::string Upper(std::string_view text) {
    std::string upper{text};
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return upper;
}

bool Matches(const std::string& upperLine, std::string_view entry) {
    const std::string key = Upper(entry);
    return key.ends_with('=') ? upperLine.starts_with(key) : upperLine == key;
}

std::string Framed(std::string_view text) {
    return "\r\n" + std::string{text} + "\r\n";
}

}  // namespace

Tc35Simulator::Tc35Simulator(Tc35Config config, platform::Micros start)
    : module_(std::move(config), start) {}

void Tc35Simulator::receive(std::string_view bytes, platform::Micros at, std::int32_t lineBaud) {
    if (lineBaud != module_.baud()) {
        noiseBytes_ += bytes.size();
        state_ = State::Idle;
        line_.clear();
        return;
    }
    std::string echo;
    for (const char c : bytes) {
        accept(c, at, echo);
    }
    if (!echo.empty()) {
        emit(at, std::move(echo));
    }
}

void Tc35Simulator::accept(char c, platform::Micros at, std::string& echo) {
    const bool echoing = module_.echo() && !module_.config().silent;
    switch (state_) {
        case State::Idle:
            // Outside a command line the module waits for "AT" and says nothing,
            // so the LF behind a line's CR goes unechoed.
            if (c == 'A' || c == 'a') {
                line_.assign(1, c);
                state_ = State::GotA;
            }
            return;
        case State::GotA:
            if ((line_[0] == 'A' && c == 'T') || (line_[0] == 'a' && c == 't')) {
                line_ += c;
                state_ = State::InLine;
                if (echoing) {
                    echo += line_;
                }
            } else if (c == '/') {
                // "A/" runs the previous line again, with no CR needed.
                state_ = State::Idle;
                if (echoing) {
                    echo += line_ + c;
                }
                emit(at, std::move(echo));
                echo.clear();
                commands_.push_back({at, line_ + c});
                answer(lastLine_, at);
            } else if (c == 'A' || c == 'a') {
                line_.assign(1, c);
            } else {
                state_ = State::Idle;
            }
            return;
        case State::InLine:
            if (echoing) {
                echo += c;
            }
            if (c != '\r') {
                line_ += c;
                return;
            }
            state_ = State::Idle;
            emit(at, std::move(echo));
            echo.clear();
            commands_.push_back({at, line_});
            lastLine_ = line_;
            answer(line_, at);
            return;
    }
}

void Tc35Simulator::answer(const std::string& line, platform::Micros at) {
    const Tc35Config& config = module_.config();
    const platform::Micros due = at + config.replyDelay;
    const std::string upper = Upper(line);
    const auto matches = [&](std::string_view entry) { return Matches(upper, entry); };

    std::string bytes;
    const auto raw = std::find_if(config.replyOverrides.begin(), config.replyOverrides.end(),
                                  [&](const auto& entry) { return matches(entry.first); });
    if (raw != config.replyOverrides.end()) {
        bytes = raw->second;
    } else if (line.size() < 2 ||
               std::any_of(config.errorCommands.begin(), config.errorCommands.end(), matches)) {
        bytes = Framed("ERROR");
    } else {
        const ModuleReply reply = module_.run(std::string_view{line}.substr(2), at);
        for (const std::string& info : reply.info) {
            bytes += Framed(info);
        }
        bytes += Framed(reply.final);
    }
    if (!module_.config().silent) {
        emit(due, std::move(bytes));
    }
}

void Tc35Simulator::unsolicited(platform::Micros at, std::string_view line) {
    emit(at, Framed(line));
}

void Tc35Simulator::incomingCall(platform::Micros at, std::string number) {
    const std::string clip =
        "+CLIP: \"" + number + "\"," + (number.starts_with('+') ? "145" : "129");
    if (!module_.incomingCall(std::move(number), at)) {
        return;
    }
    unsolicited(at, "RING");
    if (module_.callerId()) {
        unsolicited(at, clip);
    }
}

void Tc35Simulator::emit(platform::Micros at, std::string bytes) {
    if (sink_ && !bytes.empty()) {
        sink_(at, std::move(bytes));
    }
}

}  // namespace tc35
