#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// A program to start and its arguments, in the file system's form (UTF-8).
struct CommandLine {
    std::string program;
    std::vector<std::string> arguments;
};

// Finds the program a command-line text names: the program's path in the
// file system's form, or nothing when no such program exists.
using ProgramResolver = std::function<std::optional<std::string>(std::u16string_view)>;

// Splits a command line the way the original platform's program start does.
// A program name in double quotes is taken as it stands. Otherwise the
// program may contain blanks: the text up to each blank in turn, and last
// the whole text, is tried with `resolve`, and the first that names a program
// wins ("C:\Program Files\x" works unquoted). What follows the program is
// split into arguments at blanks and tabs; double quotes group blanks into
// one argument and are dropped. Gives nothing when no program is found.
std::optional<CommandLine> ParseCommandLine(std::u16string_view text,
                                            const ProgramResolver& resolve);

}  // namespace platform
