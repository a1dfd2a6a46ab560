#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QImage>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <string>
#include <vector>

#include "console/colors.h"
#include "platform/ansi_codepage.h"
#include "tests/qt/qt_fixture.h"

namespace {

using korvel_test::RealMainWindow;

QColor Rgb(platform::Color color) {
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

TEST_F(RealMainWindow, ControlsArePlacedAtTwipsOverFifteen) {
    struct Case {
        const platform::Control* control;
        QRect pixels;
    };
    const Case cases[] = {
        {&window.ComboPort, {8, 8, 88, 21}},
        {&window.ComStartStop, {8, 56, 89, 25}},
        {&window.TextPIN, {8, 112, 41, 21}},
        {&window.ComDial[4], {40, 276, 25, 21}},
        {&window.LabelDTR, {8, 348, 88, 17}},
        {&window.TextSend, {35, 389, 13, 18}},
        {&window.CheckDisplay, {8, 472, 93, 17}},
        // The right-hand column as the resize lays it out in an 8235 x 10000 window.
        {&window.TextOut, {104, 0, 438, 244}},
        {&window.LabelMove, {104, 243, 438, 4}},
        {&window.RTextBuf, {104, 247, 438, 392}},
    };
    for (const Case& c : cases) {
        QWidget* shown = runtime.widget(*c.control);
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(shown->geometry(), c.pixels) << platform::ToAnsi(c.control->Name());
        EXPECT_TRUE(shown->isVisible());
    }
}

TEST_F(RealMainWindow, WindowTakesTheModelsOuterSizeAndReportsItsFrame) {
    ASSERT_NE(top(), nullptr);
    EXPECT_TRUE(top()->isVisible());
    const QRect frame = top()->frameGeometry();
    const QRect inner = top()->geometry();
    EXPECT_EQ(window.frameWidth(), static_cast<float>((frame.width() - inner.width()) * 15));
    EXPECT_EQ(window.frameHeight(), static_cast<float>((frame.height() - inner.height()) * 15));
    EXPECT_EQ(inner.width(), qRound((window.Width() - window.frameWidth()) / 15.0));
    EXPECT_EQ(inner.height(), qRound((window.Height() - window.frameHeight()) / 15.0));
    EXPECT_EQ(frame.topLeft(), QPoint(345, 69));
    // Geometry still reads back exactly as the design assigned it.
    EXPECT_EQ(window.Left(), 5175);
    EXPECT_EQ(window.Top(), 1035);
}

TEST_F(RealMainWindow, ShowsTheLoadedTextsAndCaptions) {
    EXPECT_EQ(top()->windowTitle(), QStringLiteral(u"设备测试程序  版本 V1.04"));
    EXPECT_EQ(widget<QPushButton>(window.ComStartStop)->text(), QStringLiteral(u"打 开 端 口"));
    EXPECT_EQ(widget<QPushButton>(window.ComDial[9])->text(), QStringLiteral("*"));
    EXPECT_EQ(widget<QLabel>(window.LabelDTR)->text(), QStringLiteral("  DTR"));
    EXPECT_EQ(widget<QLabel>(window.LabelMove)->text(), QString());
    EXPECT_EQ(widget<QLineEdit>(window.TextPIN)->text(), QStringLiteral("7395"));
    EXPECT_EQ(widget<QLineEdit>(window.TextPIN)->maxLength(), 4);
    EXPECT_EQ(widget<QCheckBox>(window.CheckDisplay)->text(), QStringLiteral(u"显示十六进制"));
    EXPECT_EQ(widget<QPlainTextEdit>(window.TextOut)->toPlainText(),
              QStringLiteral(u"请先打开端口!"));
    EXPECT_FALSE(widget<QPlainTextEdit>(window.TextOut)->isEnabled());
    auto* speeds = widget<QComboBox>(window.ComboSpeed);
    ASSERT_EQ(speeds->count(), 18);
    EXPECT_EQ(speeds->itemText(17), QStringLiteral("256000bps"));
    EXPECT_EQ(speeds->currentIndex(), -1);
    EXPECT_EQ(widget<QLabel>(window.LabelDTR)->toolTip(), QStringLiteral(u"改变DTR的状态"));
}

TEST_F(RealMainWindow, PaintsTheModelsColours) {
    const QImage shot = top()->grab().toImage();
    struct Case {
        QPoint at;
        platform::Color color;
    };
    const Case cases[] = {
        {{2, 2}, console::kBlue},            // window background
        {{90, 360}, console::kLightYellow},  // LabelDTR, inside its border
        {{40, 400}, console::kYellow},       // send lamp
        {{9, 407}, console::kLightBlue},     // Label3, below its text
    };
    for (const Case& c : cases) {
        EXPECT_EQ(shot.pixelColor(c.at), Rgb(c.color)) << c.at.x() << "," << c.at.y();
    }
    window.TextSend.setBackColor(console::kGreen);
    EXPECT_EQ(top()->grab().toImage().pixelColor(40, 400), Rgb(console::kGreen));
}

TEST_F(RealMainWindow, FontsFollowTheDesign) {
    const QFont pin = widget(window.TextPIN)->font();
    EXPECT_EQ(pin.families().value(0), QStringLiteral("SimSun"));
    EXPECT_TRUE(pin.families().contains(QStringLiteral("WenQuanYi Micro Hei")));
    EXPECT_DOUBLE_EQ(pin.pointSizeF(), 10.5);
    EXPECT_EQ(pin.weight(), QFont::Normal);
    EXPECT_DOUBLE_EQ(widget(window.RTextBuf)->font().pointSizeF(), 12.0);
    EXPECT_EQ(widget(window.ComStartStop)->font(), QApplication::font());
}

TEST_F(RealMainWindow, SplitterBarHasTheCustomCursorWithItsHotSpot) {
    const QCursor cursor = widget(window.LabelMove)->cursor();
    EXPECT_EQ(cursor.shape(), Qt::BitmapCursor);
    EXPECT_EQ(cursor.hotSpot(), QPoint(15, 14));
    EXPECT_EQ(widget(window.ComStartStop)->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(RealMainWindow, ButtonClickReachesTheModel) {
    int clicks = 0;
    window.ComVersion.Click = [&clicks] { ++clicks; };
    QTest::mouseClick(widget(window.ComVersion), Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
    widget<QPushButton>(window.ComVersion)->click();
    EXPECT_EQ(clicks, 2);
    // A disabled control is a disabled widget.
    window.ComVersion.setEnabled(false);
    EXPECT_FALSE(widget(window.ComVersion)->isEnabled());
    QTest::mouseClick(widget(window.ComVersion), Qt::LeftButton);
    EXPECT_EQ(clicks, 2);
}

TEST_F(RealMainWindow, TypedKeysReachKeyPressFirst) {
    std::vector<std::int16_t> seen;
    window.TextNumber.KeyPress = [&seen](std::int16_t& key) {
        seen.push_back(key);
        if (key == 'x') {
            key = 0;  // dropped
        } else if (key == 'y') {
            key = '9';  // typed in its place
        }
    };
    window.TextNumber.setSelStart(5);
    QLineEdit* box = widget<QLineEdit>(window.TextNumber);
    QTest::keyClick(box, Qt::Key_1);
    QTest::keyClick(box, Qt::Key_X);
    QTest::keyClick(box, Qt::Key_Y);
    QTest::keyClick(box, Qt::Key_Left);  // no character, no KeyPress
    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(seen, (std::vector<std::int16_t>{'1', 'x', 'y', 8}));
    EXPECT_EQ(window.TextNumber.Text(), u"100869");
    EXPECT_EQ(box->text(), QStringLiteral("100869"));
    EXPECT_EQ(window.TextNumber.SelStart(), 5);
}

TEST_F(RealMainWindow, InputMethodTextGoesThroughKeyPressToo) {
    std::vector<std::int16_t> seen;
    window.TextNumber.KeyPress = [&seen](std::int16_t& key) {
        seen.push_back(key);
        if (key < '0' || key > '9') {
            key = 0;
        }
    };
    window.TextNumber.setSelStart(5);
    QInputMethodEvent committed;
    committed.setCommitString(QStringLiteral(u"1中2"));
    QApplication::sendEvent(widget(window.TextNumber), &committed);
    EXPECT_EQ(seen, (std::vector<std::int16_t>{'1', platform::AnsiCode(u'中'), '2'}));
    EXPECT_EQ(window.TextNumber.Text(), u"1008612");
}

TEST_F(RealMainWindow, MaxLengthLimitsTypingOnly) {
    QLineEdit* pin = widget<QLineEdit>(window.TextPIN);
    window.TextPIN.setSelStart(4);
    QTest::keyClick(pin, Qt::Key_5);
    EXPECT_EQ(window.TextPIN.Text(), u"7395");
    window.TextPIN.setText(u"123456");
    EXPECT_EQ(pin->text(), QStringLiteral("123456"));
    window.TextPIN.setSelStart(6);
    QTest::keyClick(pin, Qt::Key_7);
    EXPECT_EQ(window.TextPIN.Text(), u"123456");
}

TEST_F(RealMainWindow, EnterInTheSendPaneGoesToKeyPress) {
    window.TextOut.setEnabled(true);
    window.TextOut.setText(u"AT");
    window.TextOut.setSelStart(2);
    std::vector<std::int16_t> seen;
    window.TextOut.KeyPress = [&seen](std::int16_t& key) {
        seen.push_back(key);
        if (key == 13) {
            key = 0;
        }
    };
    auto* pane = widget<QPlainTextEdit>(window.TextOut);
    QTest::keyClick(pane, Qt::Key_Return);
    QTest::keyClick(pane, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(seen, (std::vector<std::int16_t>{13, 3}));
    EXPECT_EQ(window.TextOut.Text(), u"AT");
    EXPECT_EQ(pane->toPlainText(), QStringLiteral("AT"));
    window.TextOut.KeyPress = [](std::int16_t&) {};
    QTest::keyClick(pane, Qt::Key_Return);
    QTest::keyClick(pane, Qt::Key_B);
    EXPECT_EQ(window.TextOut.Text(), u"AT\r\nb");
}

TEST_F(RealMainWindow, DisabledWindowSwallowsInputButIsNotGreyed) {
    int clicks = 0;
    int keys = 0;
    window.ComStartStop.Click = [&clicks] { ++clicks; };
    window.TextNumber.KeyPress = [&keys](std::int16_t&) { ++keys; };
    window.setEnabled(false);
    QTest::mouseClick(widget(window.ComStartStop), Qt::LeftButton);
    widget<QPushButton>(window.ComStartStop)->click();
    window.TextNumber.setSelStart(0);
    QTest::keyClick(widget(window.TextNumber), Qt::Key_5);
    QTest::keyClick(widget(window.TextNumber), Qt::Key_Delete);  // a key without a character
    QTest::mouseClick(widget(window.ComboPort), Qt::LeftButton);
    EXPECT_FALSE(widget<QComboBox>(window.ComboPort)->view()->isVisible());
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(keys, 0);
    EXPECT_EQ(window.TextNumber.Text(), u"10086");
    EXPECT_TRUE(widget(window.ComStartStop)->isEnabled());
    EXPECT_TRUE(top()->isEnabled());
    window.setEnabled(true);
    QTest::mouseClick(widget(window.ComStartStop), Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
}

// Drags text in from another program and drops it in the middle of `target`.
void DropText(QWidget& target, const QString& text) {
    QMimeData data;
    data.setText(text);
    auto* scrolled = qobject_cast<QAbstractScrollArea*>(&target);
    QWidget& receiver = scrolled != nullptr ? *scrolled->viewport() : target;
    const QPoint at = receiver.rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&receiver, &enter);
    QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&receiver, &move);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&receiver, &drop);
}

TEST_F(RealMainWindow, ADisabledWindowTakesNoDrop) {
    struct Case {
        const platform::TextControl* control;
        std::u16string text;
    };
    const Case cases[] = {{&window.RTextBuf, u"OK"}, {&window.TextNumber, u"10086"}};
    window.RTextBuf.setText(u"OK");
    // As while a command waits out its reply window.
    window.setEnabled(false);
    for (const Case& c : cases) {
        DropText(*runtime.widget(*c.control), QStringLiteral("+CSQ: 25,99"));
        EXPECT_EQ(c.control->Text(), c.text) << platform::ToAnsi(c.control->Name());
    }
    window.setEnabled(true);
    for (const Case& c : cases) {
        DropText(*runtime.widget(*c.control), QStringLiteral("+CSQ: 25,99"));
        EXPECT_NE(c.control->Text(), c.text) << platform::ToAnsi(c.control->Name());
    }
}

TEST_F(RealMainWindow, PickingAListEntryRaisesClickAlsoForTheOneShown) {
    std::vector<std::int16_t> picks;
    window.ComboSpeed.Click = [this, &picks] { picks.push_back(window.ComboSpeed.ListIndex()); };
    auto* list = widget<QComboBox>(window.ComboSpeed);
    for (const int entry : {9, 9, 3}) {
        list->showPopup();
        QAbstractItemView* view = list->view();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view->window()));
        view->scrollTo(list->model()->index(entry, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->visualRect(list->model()->index(entry, 0)).center());
        ASSERT_TRUE(QTest::qWaitFor([view] { return !view->window()->isVisible(); }));
    }
    EXPECT_EQ(picks, (std::vector<std::int16_t>{9, 9, 3}));
    EXPECT_EQ(list->currentText(), QStringLiteral("150bps"));
    // Code that sets the list moves the widget too.
    window.ComboSpeed.setListIndex(15);
    EXPECT_EQ(list->currentIndex(), 15);
}

TEST_F(RealMainWindow, CheckBoxClickGoesThroughTheModelsValue) {
    std::vector<std::int16_t> values;
    window.CheckDisplay.Click = [this, &values] { values.push_back(window.CheckDisplay.Value()); };
    auto* box = widget<QCheckBox>(window.CheckDisplay);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    box->click();
    EXPECT_EQ(values, (std::vector<std::int16_t>{1, 0}));
    EXPECT_FALSE(box->isChecked());
    window.CheckDisplay.setValue(1);
    EXPECT_TRUE(box->isChecked());
}

TEST_F(RealMainWindow, LabelClickNeedsPressAndReleaseOnIt) {
    int clicks = 0;
    window.LabelDTR.Click = [&clicks] { ++clicks; };
    QWidget* label = widget(window.LabelDTR);
    QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(10, 5));
    EXPECT_EQ(clicks, 1);
    QTest::mousePress(label, Qt::LeftButton, {}, QPoint(10, 5));
    QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(10, 60));  // released elsewhere
    EXPECT_EQ(clicks, 1);
    QTest::mouseClick(label, Qt::RightButton, {}, QPoint(10, 5));
    EXPECT_EQ(clicks, 1);
}

struct Move {
    std::int16_t button;
    std::int16_t shift;
    float x;
    float y;
    bool operator==(const Move&) const = default;
};

TEST_F(RealMainWindow, DraggingTheSplitterDeliversMouseMovesInTwipsWithCapture) {
    std::vector<Move> moves;
    window.LabelMove.MouseMove = [&moves](std::int16_t& b, std::int16_t& s, float& x, float& y) {
        moves.push_back({b, s, x, y});
    };
    QWindow* handle = top()->windowHandle();
    ASSERT_NE(handle, nullptr);
    // The bar shows in the 40-twip gap between the panes, 10 twips below its top.
    const QPoint bar = widget(window.LabelMove)->geometry().topLeft();  // (104, 243)
    QTest::mouseMove(handle, bar + QPoint(10, 2));
    QTest::mousePress(handle, Qt::LeftButton, {}, bar + QPoint(10, 2));
    QTest::mouseMove(handle, bar + QPoint(12, 27));   // over the lower pane: still the bar's
    QTest::mouseMove(handle, bar + QPoint(12, -30));  // over the upper pane
    QTest::mouseRelease(handle, Qt::LeftButton, {}, bar + QPoint(12, -30));
    ASSERT_GE(moves.size(), 3U);
    EXPECT_EQ(moves.front(), (Move{0, 0, 150, 30}));  // hovering
    const std::vector<Move> dragged(moves.end() - 2, moves.end());
    EXPECT_EQ(dragged, (std::vector<Move>{{1, 0, 180, 405}, {1, 0, 180, -450}}));
}

TEST_F(RealMainWindow, DoubleClickOnTheBackgroundOnlyReachesTheWindow) {
    int doubleClicks = 0;
    int buttonClicks = 0;
    int labelClicks = 0;
    window.DblClick = [&doubleClicks] { ++doubleClicks; };
    window.ComSignal.Click = [&buttonClicks] { ++buttonClicks; };
    window.Label3.Click = [&labelClicks] { ++labelClicks; };
    // Through the window, as the window system delivers it: press, release, press, release.
    auto doubleClick = [this](const platform::Control* on, QPoint at) {
        if (on != nullptr) {
            at = widget(*on)->mapTo(top(), widget(*on)->rect().center());
        }
        QTest::mouseDClick(top()->windowHandle(), Qt::LeftButton, {}, at);
    };
    doubleClick(nullptr, QPoint(3, 3));
    EXPECT_EQ(doubleClicks, 1);
    // A button takes a double-click as two clicks; a label as one click.
    for (const platform::Control* control : std::initializer_list<const platform::Control*>{
             &window.ComSignal, &window.Label3, &window.TextSend, &window.TextOut,
             &window.TextNumber}) {
        doubleClick(control, {});
    }
    EXPECT_EQ(doubleClicks, 1);
    EXPECT_EQ(buttonClicks, 2);
    EXPECT_EQ(labelClicks, 1);
    window.setEnabled(false);
    doubleClick(nullptr, QPoint(3, 3));
    EXPECT_EQ(doubleClicks, 1);
}

TEST_F(RealMainWindow, TabOrderFollowsTabIndexAndSkipsLabelsAndDisabledControls) {
    std::vector<std::u16string> order;
    QWidget* at = widget(window.ComboPort);
    for (int guard = 0; guard < 200 && order.size() < 6; ++guard) {
        for (const platform::Control* control : window.controls()) {
            if (runtime.widget(*control) == at && at->isEnabled() &&
                (at->focusPolicy() & Qt::TabFocus)) {
                order.push_back(control->Name());
            }
        }
        at = at->nextInFocusChain();
    }
    EXPECT_EQ(order, (std::vector<std::u16string>{u"ComboPort", u"ComboSpeed", u"ComStartStop",
                                                  u"CheckDisplay", u"RTextBuf", u"ComVersion"}));
}

TEST_F(RealMainWindow, FocusFollowsTheModelAndTellsIt) {
    EXPECT_EQ(top()->focusWidget(), widget(window.ComboPort));
    window.ComStartStop.SetFocus();
    EXPECT_EQ(top()->focusWidget(), widget(window.ComStartStop));
    top()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(top()));
    widget(window.TextNumber)->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(window.ActiveControl(), &window.TextNumber);
}

}  // namespace
