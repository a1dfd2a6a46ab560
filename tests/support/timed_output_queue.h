#pragma once

#include <map>
#include <optional>
#include <string>

#include "platform/clock.h"

namespace tc35 {

// Bytes waiting for their due time; equal times keep the order they came in.
class TimedOutputQueue {
  public:
    void push(platform::Micros due, std::string bytes) { pending_.emplace(due, std::move(bytes)); }

    bool empty() const { return pending_.empty(); }

    std::optional<platform::Micros> nextDue() const {
        if (pending_.empty()) {
            return std::nullopt;
        }
        return pending_.begin()->first;
    }

    // Everything due at or before `now`, in due order.
    std::string takeDue(platform::Micros now) {
        std::string bytes;
        const auto end = pending_.upper_bound(now);
        for (auto it = pending_.begin(); it != end; ++it) {
            bytes += it->second;
        }
        pending_.erase(pending_.begin(), end);
        return bytes;
    }

  private:
    std::multimap<platform::Micros, std::string> pending_;
};

}  // namespace tc35
