#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>
#include <QWindow>

#include "tests/qt/qt_fixture.h"

namespace {

using korvel_test::RealMainWindow;

// The first resize came when the window was shown: the 8235 x 10000 window of
// the fixture's settings file has the 40 % border.
TEST_F(RealMainWindow, PanesFollowTheWindowFromItsFirstShowing) {
    EXPECT_EQ(window.TextOut.Width(), 8235 - 1560 - 100);
    EXPECT_EQ(window.TextOut.Height(), 3660);
    EXPECT_EQ(window.RTextBuf.Top(), 3700);
    EXPECT_EQ(window.RTextBuf.Height(), 10000 - 3700 - 410);
}

TEST_F(RealMainWindow, OperatorResizeLaysThePanesOutAgain) {
    const QSize inner = top()->size();
    top()->resize(inner.width() + 30, inner.height() - 150);
    QCoreApplication::processEvents();
    // The operator's size comes back in whole pixels, frame included.
    const float width = static_cast<float>((inner.width() + 30) * 15) + window.frameWidth();
    const float height = static_cast<float>((inner.height() - 150) * 15) + window.frameHeight();
    EXPECT_EQ(window.Width(), width);
    EXPECT_EQ(window.Height(), height);
    EXPECT_EQ(window.TextOut.Width(), width - 1560 - 100);
    EXPECT_EQ(window.TextOut.Height(), static_cast<float>(height * 0.4 - 340));
}

TEST_F(RealMainWindow, DraggingTheBarWithTheLeftButtonMovesTheBorder) {
    QWindow* handle = top()->windowHandle();
    ASSERT_NE(handle, nullptr);
    QWidget* bar = widget(window.LabelMove);
    // Press in the gap between the panes, where the bar shows, and drag 20 pixels down.
    const QPoint grip = bar->geometry().topLeft() + QPoint(50, 2);
    QTest::mouseMove(handle, grip);
    QTest::mousePress(handle, Qt::LeftButton, {}, grip);
    QTest::mouseMove(handle, grip + QPoint(0, 20));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, grip + QPoint(0, 20));
    // The pointer was 30 twips below the bar's top at 3650, then 300 twips further down.
    EXPECT_EQ(window.TextOut.Height(), 3650 + 330 - 20);
    EXPECT_EQ(window.LabelMove.Top(), 3960 - 10);
    EXPECT_EQ(window.RTextBuf.Top(), 3960 + 40);
    EXPECT_EQ(bar->cursor().shape(), Qt::BitmapCursor);
}

}  // namespace
