#pragma once

#include "platform/clock.h"

namespace test_support {

// A clock that moves only when the test sets it.
class TestClock final : public platform::Clock {
  public:
    platform::Micros now() const override { return now_; }
    void set(platform::Micros at) { now_ = at; }

  private:
    platform::Micros now_ = 0;
};

}  // namespace test_support
