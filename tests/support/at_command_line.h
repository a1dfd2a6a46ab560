#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tc35 {

// One command of a command line.
struct AtCommand {
    enum class Form { Action, Set, Query, Test };

    // Upper case: "&F", "E", "D", "+CSQ", "^SBC".
    std::string name;
    Form form = Form::Action;
    // A basic command's number, an extended command's arguments after '=',
    // or the dial string of "D" (its ';' included). Letter case as received.
    std::string value;

    bool operator==(const AtCommand&) const = default;
};

// Splits what follows "AT" on a command line into its commands. Blanks
// outside quotes are ignored. Extended commands need no ';' between them
// (the module accepts "^SNFS=4^SSYNC=1+CRC=0"), so an unquoted '+' or '^'
// ends an argument list. nullopt on a syntax error.
std::optional<std::vector<AtCommand>> SplitCommandLine(std::string_view body);

}  // namespace tc35
