#include "tests/support/simulated_module.h"

#include <string>
#include <string_view>
#include <utility>

namespace test_support {

SimulatedModule::SimulatedModule(platform::headless::SimulatedLine& line, tc35::Tc35Config config,
                                 platform::Micros start)
    : line_(line) {
    powerOn(std::move(config), start);
    line_.setPeer([this](platform::Micros at, std::string_view bytes,
                         const platform::LineSettings& settings) {
        sim_->receive(bytes, at, settings.baud);
    });
}

SimulatedModule::~SimulatedModule() {
    // The line may outlive the module; it must not call into a dead one.
    line_.setPeer(nullptr);
}

void SimulatedModule::powerOn(tc35::Tc35Config config, platform::Micros at) {
    sim_ = std::make_unique<tc35::Tc35Simulator>(std::move(config), at);
    sim_->setSink([&line = line_](platform::Micros due, std::string bytes) {
        line.deliver(due, std::move(bytes));
    });
}

}  // namespace test_support
