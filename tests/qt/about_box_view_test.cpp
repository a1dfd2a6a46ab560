#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <stdexcept>

#include "about/about_box_opener.h"
#include "tests/qt/qt_fixture.h"

namespace {

// The About box of the real main window.
class AboutBoxView : public korvel_test::RealMainWindow {
  protected:
    // Double-clicks the main window's background, below the left column.
    void doubleClickBackground() {
        QTest::mouseDClick(top()->windowHandle(), Qt::LeftButton, {}, QPoint(50, 560));
        QCoreApplication::processEvents();
    }
    about::frmAbout& box() {
        if (opener.box() == nullptr) {
            throw std::runtime_error("no About box");
        }
        return *opener.box();
    }
    QWidget* boxWindow() const { return runtime.window(*opener.box()); }

    about::AboutBoxOpener opener{window};
};

TEST_F(AboutBoxView, InnerAreaIsTheDesignsWhateverFrameTheWindowManagerDraws) {
    doubleClickBackground();
    QWidget* shown = boxWindow();
    ASSERT_NE(shown, nullptr);
    // 5730 x 3195 twips inside, the frame drawn around it.
    EXPECT_EQ(shown->size(), QSize(382, 213));
    const QMargins frame = shown->windowHandle()->frameMargins();
    EXPECT_EQ(box().frameWidth(), static_cast<float>((frame.left() + frame.right()) * 15));
    EXPECT_EQ(box().frameHeight(), static_cast<float>((frame.top() + frame.bottom()) * 15));
    EXPECT_EQ(box().ScaleWidth(), 5730);
    EXPECT_EQ(box().ScaleHeight(), 3195);
    EXPECT_EQ(box().Width(), 5730 + box().frameWidth());
}

TEST_F(AboutBoxView, TheWindowManagersMinimiseDoesNotTakeTheBoxOutOfSight) {
    doubleClickBackground();
    QWidget* shown = boxWindow();
    ASSERT_NE(shown, nullptr);
    shown->showMinimized();  // as the window manager's own minimise button would
    QCoreApplication::processEvents();
    EXPECT_FALSE(shown->isMinimized());
    EXPECT_TRUE(shown->isVisible());
    EXPECT_EQ(box().WindowState(), platform::vbNormal);
}

TEST_F(AboutBoxView, EveryDoubleClickShowsTheBoxAgainRestoredAndActive) {
    doubleClickBackground();
    QWidget* shown = boxWindow();
    ASSERT_NE(shown, nullptr);
    box().setWindowState(platform::vbMinimized);
    QCoreApplication::processEvents();
    ASSERT_TRUE(shown->isMinimized());
    top()->activateWindow();
    QCoreApplication::processEvents();
    doubleClickBackground();
    EXPECT_EQ(boxWindow(), shown);  // the same box
    EXPECT_FALSE(shown->isMinimized());
    EXPECT_TRUE(shown->isVisible());
    EXPECT_EQ(box().WindowState(), platform::vbNormal);
    EXPECT_EQ(QApplication::activeWindow(), shown);
}

}  // namespace
