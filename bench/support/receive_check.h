#pragma once

#include <cstdint>
#include <string>

namespace console {
class Tamsel;
}

namespace bench {

// Wraps the window's receive tick: what each tick appends to the lower pane
// must be the peer stream's next bytes in the current display, after the
// trim the tick owes.
class ReceiveCheck {
  public:
    explicit ReceiveCheck(console::Tamsel& window) : window_(window) {}
    void start(std::uint64_t streamOffset);

    std::uint64_t bytes() const { return bytes_; }
    std::uint64_t wrongTicks() const { return wrongTicks_; }

  private:
    void tick();

    console::Tamsel& window_;
    std::uint64_t offset_ = 0;
    std::uint64_t bytes_ = 0;
    std::uint64_t wrongTicks_ = 0;
};

}  // namespace bench
