#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>

#include "console/tamsel.h"
#include "platform/headless/simulated_serial.h"
#include "platform/qt/qt_runtime.h"
#include "platform/utf.h"
#include "tests/support/temp_dir.h"

namespace korvel_test {

// A settings file that gives the window its design place and room for
// every control of the left column.
inline constexpr const char* kDesignPlacement =
    "[TamselSet]\nPort=-1\nSpeed=-1\n[Point]\nTop=1035\nLeft=5175\n"
    "Width=8235\nHeight=10000\nWindowState=0\n";

// The real main window on Qt's offscreen platform, loaded and shown.
class RealMainWindow : public testing::Test {
  protected:
    // Starts from `settings`, the settings file of the window's own folder.
    explicit RealMainWindow(const char* settings = kDesignPlacement) {
        runtime.App().Title = u"Korvel";
        runtime.App().Major = 1;
        runtime.App().Minor = 0;
        runtime.App().Revision = 4;
        runtime.App().Path = platform::FromUtf8(folder.path());
        test_support::WriteBytes(folder.file("korvel.ini"), settings);
        runtime.App().EXEName = u"korvel";
        window.Show();
    }

    template <typename W = QWidget>
    W* widget(const platform::Control& control) const {
        return dynamic_cast<W*>(runtime.widget(control));
    }
    QWidget* top() const { return runtime.window(window); }

    test_support::TempDir folder;
    platform::QtRuntime runtime;
    platform::headless::SimulatedSerialPorts ports{runtime};
    console::Tamsel window{runtime, ports};
};

}  // namespace korvel_test
