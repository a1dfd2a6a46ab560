#pragma once

#include <string>

namespace bench {

// The floor an idle receive tick is held to: a bare Qt window whose 5 ms
// timer reads one FIONREAD of the port and sets five unchanged labels.
// Runs until its standard input closes.
int RunBareTimer(const std::string& programFolder);

}  // namespace bench
