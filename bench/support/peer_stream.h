#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace bench {

// The bytes a peer sends, the same wherever counting starts: numbered lines
// shaped like a signal-quality reply, "+CSQ: 20,99 0000000042\r\n".
inline constexpr std::size_t kStreamLineLength = 24;
char StreamByte(std::uint64_t offset);
std::string StreamBytes(std::uint64_t offset, std::size_t count);

}  // namespace bench
