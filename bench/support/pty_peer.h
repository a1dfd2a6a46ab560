#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

namespace bench {

// The far end of a pseudo-terminal whose other side is the port COM1 of a
// program folder. It keeps its side open and, while streaming, writes the
// peer stream at a steady rate, a piece every 5 ms.
class PtyPeer {
  public:
    explicit PtyPeer(const std::string& programFolder);
    ~PtyPeer();
    PtyPeer(const PtyPeer&) = delete;
    PtyPeer& operator=(const PtyPeer&) = delete;

    void startStream(double bytesPerSecond);
    void stopStream();
    // Bytes the pseudo-terminal took so far; what it refused is not counted.
    std::uint64_t written() const { return written_; }

  private:
    void stream(double bytesPerSecond);

    int master_ = -1;
    int slave_ = -1;
    std::atomic<bool> streaming_ = false;
    std::atomic<std::uint64_t> written_ = 0;
    std::thread writer_;
};

}  // namespace bench
