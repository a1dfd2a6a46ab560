#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <vector>

#include "platform/controls.h"
#include "platform/form.h"
#include "platform/qt/qt_runtime.h"

namespace {

// A small box in the manner of the About box: fixed dialog, OK button, etched rule.
class Dialog : public platform::Form {
  public:
    explicit Dialog(platform::Runtime& runtime) : Form(runtime, u"Dialog") {
        setBorderStyle(platform::vbFixedDialog);
        setMinButton(false);
        setMaxButton(false);
        setShowInTaskbar(false);
        setClientSize(5730, 3195);
        setLeft(6150);
        setTop(1995);
        setCaption(u"关于 Korvel");
        ok.Move(840, 2640, 1500, 345);
        ok.setCaption(u"确定");
        ok.setDefault(true);
        ok.setCancel(true);
        entry.Move(840, 200, 1500, 315);
        entry.setTabIndex(1);
        rule.setPoints(90, 2445, 5654, 2445);
        rule.setBorderColor(0x808080);
        wide.setPoints(105, 2460, 5654, 2460);
        wide.setBorderColor(0xFFFFFF);
        wide.setBorderWidth(2);
    }
    platform::CommandButton ok{*this, u"cmdOK"};
    platform::TextBox entry{*this, u"Entry"};
    platform::Line rule{*this, u"Line1", 1};
    platform::Line wide{*this, u"Line1", 0};
};

// A plain sizable window.
class Plain : public platform::Form {
  public:
    explicit Plain(platform::Runtime& runtime) : Form(runtime, u"Plain") {
        setClientSize(6000, 4500);
        setLeft(1500);
        setTop(1500);
        setBackColor(0x00FF00);
        Resize = [this] { ++resizes; };
    }
    int resizes = 0;
    platform::CommandButton button{*this, u"Button"};
};

class FormWindowTest : public testing::Test {
  protected:
    platform::QtRuntime runtime;
};

TEST_F(FormWindowTest, FixedDialogHasACloseBoxOnlyAndKeepsItsSize) {
    Dialog dialog(runtime);
    dialog.setTopMost(true);
    dialog.Show();
    QWidget* top = runtime.window(dialog);
    ASSERT_NE(top, nullptr);
    const Qt::WindowFlags flags = top->windowFlags();
    EXPECT_EQ(top->windowType(), Qt::Tool);  // not in the taskbar
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(flags & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(top->minimumSize(), top->maximumSize());
    EXPECT_TRUE(top->testAttribute(Qt::WA_QuitOnClose));  // an open box keeps the program running
    EXPECT_EQ(top->windowTitle(), QStringLiteral(u"关于 Korvel"));
    const QImage icon = top->windowIcon().pixmap(16, 16).toImage();
    EXPECT_EQ(qAlpha(icon.pixel(8, 8)), 0);  // no icon
    dialog.setTopMost(false);
    EXPECT_FALSE(top->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(top->isVisible());
}

TEST_F(FormWindowTest, LinesAreDrawnAndLetTheMouseThrough) {
    Dialog dialog(runtime);
    int doubleClicks = 0;
    dialog.DblClick = [&doubleClicks] { ++doubleClicks; };
    dialog.Show();
    QWidget* top = runtime.window(dialog);
    const QImage shot = top->grab().toImage();
    EXPECT_EQ(shot.pixelColor(100, 163), QColor(0x80, 0x80, 0x80));
    EXPECT_EQ(shot.pixelColor(100, 164), QColor(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(shot.pixelColor(100, 165), QColor(0xFF, 0xFF, 0xFF));
    QTest::mouseDClick(top->windowHandle(), Qt::LeftButton, {}, QPoint(100, 164));
    EXPECT_EQ(doubleClicks, 1);
}

TEST_F(FormWindowTest, EnterAndEscPressTheDefaultAndCancelButton) {
    Dialog dialog(runtime);
    int clicks = 0;
    int keys = 0;
    dialog.ok.Click = [&clicks] { ++clicks; };
    dialog.entry.KeyPress = [&keys](std::int16_t&) { ++keys; };
    dialog.Show();
    QWidget* entry = runtime.widget(dialog.entry);
    QWidget* ok = runtime.widget(dialog.ok);
    struct Case {
        QWidget* at;
        Qt::Key key;
    };
    for (const Case& c :
         {Case{entry, Qt::Key_Return}, Case{entry, Qt::Key_Escape}, Case{ok, Qt::Key_Return},
          Case{ok, Qt::Key_Escape}, Case{ok, Qt::Key_Space}}) {
        QTest::keyClick(c.at, c.key);
    }
    EXPECT_EQ(clicks, 5);
    EXPECT_EQ(keys, 0);  // the buttons take Enter and Esc before the text box sees them
    dialog.ok.setEnabled(false);
    QTest::keyClick(entry, Qt::Key_Return);
    EXPECT_EQ(keys, 1);
    EXPECT_EQ(clicks, 5);
}

TEST_F(FormWindowTest, ClosingTheWindowUnloadsTheFormUnlessRefusedOrDisabled) {
    Plain plain(runtime);
    std::int16_t refuse = 1;
    int unloads = 0;
    plain.UnloadEvent = [&](std::int16_t& cancel) {
        ++unloads;
        cancel = refuse;
    };
    plain.Show();
    QPointer<QWidget> top = runtime.window(plain);
    EXPECT_FALSE(top->close());
    EXPECT_TRUE(plain.loaded());
    plain.setEnabled(false);
    EXPECT_FALSE(top->close());
    EXPECT_EQ(unloads, 1);
    plain.setEnabled(true);
    refuse = 0;
    EXPECT_TRUE(top->close());
    EXPECT_EQ(unloads, 2);
    EXPECT_FALSE(plain.loaded());
    EXPECT_EQ(runtime.window(plain), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(top.isNull());
}

TEST_F(FormWindowTest, UnloadByCodeHidesAndAShowMakesTheWindowAgain) {
    Dialog dialog(runtime);
    int loads = 0;
    dialog.Load = [&] {
        ++loads;
        dialog.ok.setCaption(loads == 1 ? u"一" : u"二");
    };
    dialog.ok.Click = [&dialog] { dialog.Unload(); };
    dialog.Show();
    QPointer<QWidget> first = runtime.window(dialog);
    auto* button = qobject_cast<QPushButton*>(runtime.widget(dialog.ok));
    ASSERT_NE(button, nullptr);
    button->click();  // unloads from inside its own click
    EXPECT_FALSE(first->isVisible());
    EXPECT_EQ(runtime.window(dialog), nullptr);
    dialog.ok.setCaption(u"改");  // no window to follow it now
    dialog.Show();
    ASSERT_NE(runtime.window(dialog), nullptr);
    EXPECT_EQ(qobject_cast<QPushButton*>(runtime.widget(dialog.ok))->text(), QStringLiteral(u"二"));
    EXPECT_EQ(loads, 2);
}

TEST_F(FormWindowTest, GeometryReadsBackAsAssignedAndOperatorChangesAreReported) {
    Plain plain(runtime);
    plain.Show();
    EXPECT_EQ(plain.resizes, 1);  // the first show, once
    QWidget* top = runtime.window(plain);
    const float frameWidth = plain.frameWidth();
    const float frameHeight = plain.frameHeight();
    plain.setWidth(4007);
    EXPECT_EQ(plain.Width(), 4007);
    EXPECT_EQ(top->width(), qRound((4007 - frameWidth) / 15.0));
    EXPECT_EQ(plain.resizes, 2);
    plain.setLeft(1507);
    EXPECT_EQ(plain.Left(), 1507);
    EXPECT_EQ(top->frameGeometry().x(), 100);
    EXPECT_EQ(plain.resizes, 2);
    // The operator (or the window manager) resizes and moves it.
    top->resize(300, 200);
    EXPECT_EQ(plain.Width(), 300 * 15 + frameWidth);
    EXPECT_EQ(plain.Height(), 200 * 15 + frameHeight);
    EXPECT_EQ(plain.Left(), 1507);
    EXPECT_EQ(plain.resizes, 3);
    top->move(40, 50);
    EXPECT_EQ(plain.Left(), 600);
    EXPECT_EQ(plain.Top(), 750);
    EXPECT_EQ(plain.resizes, 3);
}

TEST_F(FormWindowTest, AWindowBackWhereTheModelPutItKeepsTheExactPlacement) {
    Plain plain(runtime);
    plain.setLeft(1507);
    plain.setWidth(6007);
    plain.Show();
    QWidget* top = runtime.window(plain);
    const QPoint placed = top->frameGeometry().topLeft();
    const QSize size = top->size();
    // The window manager moves and sizes the window in passing (as while it
    // maps it), then leaves it where the model put it.
    top->move(placed + QPoint(30, 40));
    top->resize(size + QSize(10, 20));
    EXPECT_EQ(plain.Left(), static_cast<float>((placed.x() + 30) * 15));
    EXPECT_EQ(plain.Width(), static_cast<float>((size.width() + 10) * 15) + plain.frameWidth());
    top->move(placed);
    top->resize(size);
    EXPECT_EQ(plain.Left(), 1507);
    EXPECT_EQ(plain.Top(), 1500);
    EXPECT_EQ(plain.Width(), 6007);
    EXPECT_EQ(plain.Height(), 4500 + plain.frameHeight());
}

TEST_F(FormWindowTest, WindowStatesGoBothWays) {
    Plain plain(runtime);
    plain.Show();
    QWidget* top = runtime.window(plain);
    plain.setWindowState(platform::vbMaximized);
    EXPECT_TRUE(top->isMaximized());
    const int afterModel = plain.resizes;
    top->showNormal();
    EXPECT_EQ(plain.WindowState(), platform::vbNormal);
    EXPECT_GT(plain.resizes, afterModel);
    top->showMinimized();
    EXPECT_EQ(plain.WindowState(), platform::vbMinimized);
    top->showMaximized();
    EXPECT_EQ(plain.WindowState(), platform::vbMaximized);
    EXPECT_EQ(plain.Width(), top->width() * 15 + plain.frameWidth());
    plain.setWindowState(platform::vbNormal);
    EXPECT_FALSE(top->isMaximized());
    EXPECT_EQ(top->width(), qRound((plain.Width() - plain.frameWidth()) / 15.0));
}

TEST_F(FormWindowTest, AWindowShownMaximisedRestoresToItsNormalBounds) {
    Plain plain(runtime);
    plain.setWindowState(platform::vbMaximized);
    plain.Show();
    QWidget* top = runtime.window(plain);
    EXPECT_TRUE(top->isMaximized());
    EXPECT_EQ(plain.resizes, 1);
    plain.setWindowState(platform::vbNormal);
    EXPECT_EQ(top->frameGeometry().topLeft(), QPoint(100, 100));
    EXPECT_EQ(top->width(), qRound((plain.Width() - plain.frameWidth()) / 15.0));
}

TEST_F(FormWindowTest, TheProgramEndsWhenItsLastWindowIsClosed) {
    Plain plain(runtime);
    Dialog about(runtime);
    plain.Show();
    about.Show();
    std::vector<const char*> steps;
    // The box outlives the main window: the program runs on until it is closed too.
    QTimer::singleShot(0, [&] {
        steps.push_back("main closed");
        runtime.window(plain)->close();
        QTimer::singleShot(20, [&] {
            steps.push_back(about.loaded() ? "box still open" : "box gone");
            runtime.window(about)->close();
        });
    });
    QTimer failSafe;
    failSafe.setSingleShot(true);
    QObject::connect(&failSafe, &QTimer::timeout, [&] {
        steps.push_back("fail-safe");
        QCoreApplication::exit(1);
    });
    failSafe.start(10000);
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_EQ(steps, (std::vector<const char*>{"main closed", "box still open"}));
    EXPECT_FALSE(plain.loaded());
    EXPECT_FALSE(about.loaded());
}

}  // namespace
