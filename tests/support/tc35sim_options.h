#pragma once

#include <span>
#include <string>
#include <string_view>

#include "tests/support/tc35_config.h"

namespace tc35 {

struct Tc35SimOptions {
    // Where the link to the pseudo-terminal's slave goes.
    std::string link;
    Tc35Config config;
    bool help = false;
};

// The tc35sim command line, without the program name. Throws
// std::invalid_argument naming what is wrong.
Tc35SimOptions ParseTc35SimArguments(std::span<const std::string_view> arguments);

std::string Tc35SimUsage();

}  // namespace tc35
