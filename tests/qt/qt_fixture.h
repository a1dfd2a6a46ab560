#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>

#include "console/tamsel.h"
#include "platform/qt/qt_runtime.h"

namespace korvel_test {

// The real main window on Qt's offscreen platform, loaded and shown.
class RealMainWindow : public testing::Test {
  protected:
    RealMainWindow() {
        runtime.App().Title = u"Korvel";
        runtime.App().Major = 1;
        runtime.App().Minor = 0;
        runtime.App().Revision = 4;
        window.Show();
    }

    template <typename W = QWidget>
    W* widget(const platform::Control& control) const {
        return dynamic_cast<W*>(runtime.widget(control));
    }
    QWidget* top() const { return runtime.window(window); }

    platform::QtRuntime runtime;
    console::Tamsel window{runtime};
};

}  // namespace korvel_test
