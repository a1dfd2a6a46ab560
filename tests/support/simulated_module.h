#pragma once

#include <memory>

#include "platform/clock.h"
#include "platform/headless/simulated_serial.h"
#include "tests/support/tc35_config.h"
#include "tests/support/tc35_simulator.h"

namespace test_support {

// A simulated TC35/TC35i plugged into the far end of a simulated serial
// line: it hears each byte at the speed the program sent it with, and what it
// answers reaches the program's input at the time it is due.
class SimulatedModule {
  public:
    explicit SimulatedModule(platform::headless::SimulatedLine& line, tc35::Tc35Config config = {},
                             platform::Micros start = 0);
    ~SimulatedModule();
    SimulatedModule(const SimulatedModule&) = delete;
    SimulatedModule& operator=(const SimulatedModule&) = delete;

    // Another module, freshly powered on at `at`, in place of this one; for
    // the settings a module only takes at power-on (speed, echo, clock).
    void powerOn(tc35::Tc35Config config, platform::Micros at = 0);

    tc35::Tc35Simulator& sim() { return *sim_; }
    const tc35::Tc35Simulator& sim() const { return *sim_; }
    // The settings the module reads at each command.
    tc35::Tc35Config& config() { return sim_->config(); }

  private:
    platform::headless::SimulatedLine& line_;
    std::unique_ptr<tc35::Tc35Simulator> sim_;
};

}  // namespace test_support
