#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "console/tamsel.h"
#include "platform/headless/headless_runtime.h"
#include "platform/headless/simulated_serial.h"
#include "platform/utf.h"
#include "tests/support/temp_dir.h"

namespace test_support {

// The main window on the headless runtime, its port a simulated line, its
// program folder a fresh temporary folder (so no stray settings file is read).
class ConsoleFixture : public testing::Test {
  protected:
    ConsoleFixture() {
        runtime.App().Major = 1;
        runtime.App().Minor = 0;
        runtime.App().Revision = 4;
        runtime.App().Path = platform::FromUtf8(folder.path());
        runtime.App().EXEName = u"korvel";
    }

    // Loads and shows the window, as the program does at start.
    void start() { window.Show(); }

    platform::headless::SimulatedLine& line(int port = 1) { return ports.line(port); }

    // Picks the port and speed as the operator would and clicks the button.
    void open(std::int16_t port = 0, std::int16_t speed = 9) {
        ASSERT_TRUE(runtime.pick(window.ComboPort, port));
        ASSERT_TRUE(runtime.pick(window.ComboSpeed, speed));
        ASSERT_TRUE(runtime.click(window.ComStartStop));
    }

    TempDir folder;
    platform::HeadlessRuntime runtime;
    platform::headless::SimulatedSerialPorts ports{runtime};
    console::Tamsel window{runtime, ports};
};

}  // namespace test_support
