#pragma once

#include <cstdint>
#include <optional>

namespace tc35 {

// The speed last set on the slave of the pseudo-terminal whose master is
// `masterFd`: termios requests on a master act on its slave. nullopt when
// it cannot be read.
std::optional<std::int32_t> PtyLineSpeed(int masterFd);

}  // namespace tc35
