#pragma once

#include <cstdint>
#include <optional>

// Kept apart from <termios.h>: the kernel's termios2 headers clash with it.
namespace platform::posix {

// Sets input and output speed to exactly `baud` with one TCSETS2 call.
// Returns 0 or the errno value of the refusal.
int SetLineSpeed(int fd, std::int32_t baud);

// The output speed in force (TCGETS2); empty when the call fails, errno set.
std::optional<std::int32_t> ReadLineSpeed(int fd);

}  // namespace platform::posix
