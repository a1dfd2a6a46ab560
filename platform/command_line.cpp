#include "platform/command_line.h"

#include "platform/utf.h"

namespace platform {
namespace {

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

std::u16string_view Trim(std::u16string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::vector<std::string> SplitArguments(std::u16string_view text) {
    std::vector<std::string> arguments;
    std::u16string current;
    bool inArgument = false;
    bool quoted = false;
    for (const char16_t c : text) {
        if (c == u'"') {
            quoted = !quoted;
            inArgument = true;
        } else if (IsBlank(c) && !quoted) {
            if (inArgument) {
                arguments.push_back(ToUtf8(current));
                current.clear();
                inArgument = false;
            }
        } else {
            current += c;
            inArgument = true;
        }
    }
    if (inArgument) {
        arguments.push_back(ToUtf8(current));
    }
    return arguments;
}

}  // namespace

std::optional<CommandLine> ParseCommandLine(std::u16string_view text,
                                            const ProgramResolver& resolve) {
    text = Trim(text);
    if (text.empty()) {
        return std::nullopt;
    }
    if (text.front() == u'"') {
        const std::size_t close = text.find(u'"', 1);
        const std::size_t end = close == text.npos ? text.size() : close;
        auto program = resolve(text.substr(1, end - 1));
        if (!program) {
            return std::nullopt;
        }
        const std::size_t rest = close == text.npos ? text.size() : close + 1;
        return CommandLine{std::move(*program), SplitArguments(text.substr(rest))};
    }
    std::size_t end = 0;
    while (end < text.size()) {
        end = text.find_first_of(u" \t", end + 1);
        if (end == text.npos) {
            end = text.size();
        }
        if (auto program = resolve(text.substr(0, end))) {
            return CommandLine{std::move(*program), SplitArguments(text.substr(end))};
        }
        while (end < text.size() && IsBlank(text[end])) {
            ++end;
        }
    }
    return std::nullopt;
}

}  // namespace platform
