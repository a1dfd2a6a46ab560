#include <gtest/gtest.h>

#include <QWidget>
#include <QWindow>
#include <functional>
#include <optional>
#include <string>

#include "tests/qt/qt_fixture.h"

namespace {

// Closed maximised last time, with a normal placement of 15000 x 12000
// twips at 600, 600: 1000 x 800 pixels at 40, 40.
class StartedMaximised : public korvel_test::RealMainWindow {
  protected:
    StartedMaximised()
        : RealMainWindow(
              "[TamselSet]\nPort=0\nSpeed=6\n[Point]\nTop=600\nLeft=600\nWidth=15000\n"
              "Height=12000\nWindowState=2\n") {}

    std::string saved() const {
        return test_support::ReadBytes(folder.file("korvel.ini")).value_or("");
    }
};

TEST_F(StartedMaximised, RestoringGivesBackTheNormalPlacementAndTheNextSaveWritesIt) {
    struct Case {
        const char* how;
        // The window manager restores the window.
        std::function<void(QWidget&)> restore;
        // Whether the window's own pixels can follow on this platform.
        bool placed;
    };
    const Case cases[] = {
        // It gives the window a size of its own choosing first.
        {"SizeBeforeState",
         [](QWidget& w) { w.windowHandle()->setWindowStates(Qt::WindowNoState); }, true},
        // It says so while the window still has its maximised size.
        {"StateBeforeSize", [](QWidget& w) { w.overrideWindowState(Qt::WindowNoState); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        window.setWindowState(platform::vbMaximized);
        QCoreApplication::processEvents();
        ASSERT_TRUE(top()->isMaximized());
        c.restore(*top());
        QCoreApplication::processEvents();
        EXPECT_EQ(window.WindowState(), platform::vbNormal);
        EXPECT_EQ(window.Left(), 600);
        EXPECT_EQ(window.Top(), 600);
        EXPECT_EQ(window.Width(), 15000);
        EXPECT_EQ(window.Height(), 12000);
        if (c.placed) {
            const QMargins frame = top()->windowHandle()->frameMargins();
            EXPECT_EQ(top()->geometry().marginsAdded(frame), QRect(40, 40, 1000, 800));
        }
    }
    ASSERT_TRUE(top()->close());
    const std::string file = saved();
    for (const char* line :
         {"Top=600\n", "Left=600\n", "Width=15000\n", "Height=12000\n", "WindowState=0\n"}) {
        EXPECT_NE(file.find(line), std::string::npos) << line << " in\n" << file;
    }
}

}  // namespace
