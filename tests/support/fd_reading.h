#pragma once

#include <string>

namespace test_support {

// Everything written to the descriptor until its writer closes it; "" when
// nothing comes within the timeout.
std::string ReadUntilClosed(int fd, int timeoutMs);

}  // namespace test_support
