#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "device_commands/module_tests.h"
#include "platform/clock.h"
#include "platform/form.h"
#include "tests/support/console_fixture.h"
#include "tests/support/simulated_module.h"

namespace test_support {

inline constexpr platform::Micros kMs = 1000;

// Each change of a window's enabled state, when it happened and what the
// receive pane held then.
class EnabledLog final : public platform::FormView {
  public:
    struct Change {
        platform::Micros at = 0;
        bool enabled = false;
        std::u16string received;
        bool operator==(const Change&) const = default;
    };

    EnabledLog(const console::Tamsel& window, const platform::Clock& clock)
        : window_(window), clock_(clock) {}

    void formChanged(platform::FormProperty property) override {
        if (property == platform::FormProperty::Enabled) {
            changes_.push_back({clock_.now(), window_.Enabled(), window_.RTextBuf.Text()});
        }
    }

    const std::vector<Change>& changes() const { return changes_; }
    void clear() { changes_.clear(); }

  private:
    const console::Tamsel& window_;
    const platform::Clock& clock_;
    std::vector<Change> changes_;
};

// The main window with its module tests, started, and a simulated TC35i on
// COM 1; the port is still closed.
class ModuleBench : public ConsoleFixture {
  protected:
    ModuleBench() { window.setView(&enabledLog); }
    ~ModuleBench() override { window.setView(nullptr); }

    void SetUp() override { start(); }

    tc35::Tc35Simulator& sim() { return module.sim(); }

    // The command lines the module heard (at its own speed), in order.
    std::vector<std::string> heard() const {
        std::vector<std::string> lines;
        for (const auto& command : module.sim().commands()) {
            lines.push_back(command.line);
        }
        return lines;
    }

    // What the program wrote to the port, one entry per write.
    std::vector<std::string> written() { return writtenFrom(0); }
    std::vector<std::string> writtenFrom(std::size_t first) {
        std::vector<std::string> bytes;
        for (std::size_t i = first; i < line().writes().size(); ++i) {
            bytes.push_back(line().writes()[i].bytes);
        }
        return bytes;
    }
    // The speed of each write.
    std::vector<std::int32_t> speedsFrom(std::size_t first) {
        std::vector<std::int32_t> speeds;
        for (std::size_t i = first; i < line().writes().size(); ++i) {
            speeds.push_back(line().writes()[i].settings.baud);
        }
        return speeds;
    }

    // The prompts of the message boxes shown so far.
    std::vector<std::u16string> prompts() const {
        std::vector<std::u16string> texts;
        for (const auto& message : runtime.messages()) {
            texts.push_back(message.prompt);
        }
        return texts;
    }

    device_commands::ModuleTests tests{window};
    SimulatedModule module{line(1)};
    EnabledLog enabledLog{window, runtime};
};

// The same with the port open on COM 1 at 9600.
class OpenModuleBench : public ModuleBench {
  protected:
    void SetUp() override {
        ModuleBench::SetUp();
        open(0, 9);
    }
};

}  // namespace test_support
