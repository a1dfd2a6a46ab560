#pragma once

#include <cstdint>

namespace platform {

// Microseconds on the runtime's clock: real time in the program, virtual time
// in the headless runtime.
using Micros = std::int64_t;

class Clock {
  public:
    virtual ~Clock() = default;
    virtual Micros now() const = 0;
};

}  // namespace platform
