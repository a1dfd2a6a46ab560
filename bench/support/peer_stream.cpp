#include "bench/support/peer_stream.h"

namespace bench {

char StreamByte(std::uint64_t offset) {
    static constexpr char kHead[] = "+CSQ: 20,99 ";
    constexpr std::size_t kHeadLength = sizeof(kHead) - 1;
    constexpr std::size_t kDigits = 10;
    const std::uint64_t line = offset / kStreamLineLength;
    const auto column = static_cast<std::size_t>(offset % kStreamLineLength);
    if (column < kHeadLength) {
        return kHead[column];
    }
    if (column < kHeadLength + kDigits) {
        std::uint64_t value = line;
        for (std::size_t i = kHeadLength + kDigits - 1; i > column; --i) {
            value /= 10;
        }
        return static_cast<char>('0' + value % 10);
    }
    return column == kHeadLength + kDigits ? '\r' : '\n';
}

std::string StreamBytes(std::uint64_t offset, std::size_t count) {
    std::string bytes;
    bytes.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        bytes.push_back(StreamByte(offset + i));
    }
    return bytes;
}

}  // namespace bench
