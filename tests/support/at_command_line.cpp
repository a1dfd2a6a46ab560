#include "tests/support/at_command_line.h"

#include <cctype>

namespace tc35 {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsLetter(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) != 0;
}
char Upper(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

bool IsNameChar(char c) {
    return IsLetter(c) || IsDigit(c) ||
           std::string_view{"!%-./:_"}.find(c) != std::string_view::npos;
}

// Drops blanks outside quoted strings; nullopt when a quote is left open.
std::optional<std::string> WithoutBlanks(std::string_view body) {
    std::string text;
    bool quoted = false;
    for (const char c : body) {
        if (c == '"') {
            quoted = !quoted;
        }
        if (quoted || c != ' ') {
            text += c;
        }
    }
    if (quoted) {
        return std::nullopt;
    }
    return text;
}

class Splitter {
  public:
    explicit Splitter(std::string_view text) : text_(text) {}

    std::optional<std::vector<AtCommand>> run() {
        std::vector<AtCommand> commands;
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            std::optional<AtCommand> command;
            if (c == ';') {
                ++pos_;
                continue;
            }
            if (c == '+' || c == '^') {
                command = extended();
            } else if (c == '&') {
                ++pos_;
                command = basic("&");
            } else if (Upper(c) == 'D') {
                ++pos_;
                command = AtCommand{"D", AtCommand::Form::Action, std::string{text_.substr(pos_)}};
                pos_ = text_.size();
            } else {
                command = basic("");
            }
            if (!command) {
                return std::nullopt;
            }
            commands.push_back(std::move(*command));
        }
        return commands;
    }

  private:
    std::optional<AtCommand> basic(std::string prefix) {
        if (pos_ >= text_.size() || !IsLetter(text_[pos_])) {
            return std::nullopt;
        }
        AtCommand command{prefix + Upper(text_[pos_++]), AtCommand::Form::Action, {}};
        while (pos_ < text_.size() && IsDigit(text_[pos_])) {
            command.value += text_[pos_++];
        }
        return command;
    }

    std::optional<AtCommand> extended() {
        AtCommand command{std::string(1, text_[pos_++]), AtCommand::Form::Action, {}};
        while (pos_ < text_.size() && IsNameChar(text_[pos_])) {
            command.name += Upper(text_[pos_++]);
        }
        if (command.name.size() < 2) {
            return std::nullopt;
        }
        const std::string_view rest = text_.substr(pos_);
        if (rest.starts_with("=?")) {
            command.form = AtCommand::Form::Test;
            pos_ += 2;
        } else if (rest.starts_with("?")) {
            command.form = AtCommand::Form::Query;
            pos_ += 1;
        } else if (rest.starts_with("=")) {
            command.form = AtCommand::Form::Set;
            ++pos_;
            command.value = arguments();
        }
        return command;
    }

    std::string arguments() {
        std::string value;
        bool quoted = false;
        for (; pos_ < text_.size(); ++pos_) {
            const char c = text_[pos_];
            if (c == '"') {
                quoted = !quoted;
            } else if (!quoted && (c == ';' || c == '+' || c == '^')) {
                break;
            }
            value += c;
        }
        return value;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

}  // namespace

std::optional<std::vector<AtCommand>> SplitCommandLine(std::string_view body) {
    const auto text = WithoutBlanks(body);
    if (!text) {
        return std::nullopt;
    }
    return Splitter{*text}.run();
}

}  // namespace tc35
