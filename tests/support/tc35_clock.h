#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/clock.h"

namespace tc35 {

// The module's real-time clock. It holds seconds since 2000-01-01 00:00:00
// and wraps after 2099 like the module's two-digit year.
class ModuleClock {
  public:
    // "yy/MM/dd,hh:mm:ss" as seconds; nullopt when malformed or no real date.
    static std::optional<std::int64_t> Parse(std::string_view text);
    static std::string Format(std::int64_t seconds);

    ModuleClock(std::int64_t seconds, platform::Micros at, bool runs);

    void set(std::int64_t seconds, platform::Micros at);
    std::int64_t secondsAt(platform::Micros at) const;
    std::string readAt(platform::Micros at) const { return Format(secondsAt(at)); }

  private:
    std::int64_t seconds_;
    platform::Micros setAt_;
    bool runs_;
};

}  // namespace tc35
