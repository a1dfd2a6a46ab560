#include <gtest/gtest.h>

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <functional>

#include "platform/controls.h"
#include "platform/form.h"
#include "platform/qt/message_box.h"
#include "platform/qt/qt_runtime.h"
#include "platform/qt/qt_translations.h"
#include "platform/timer.h"
#include "tests/support/temp_dir.h"

namespace {

// A window with one timer, as small as a test needs.
class TimerForm : public platform::Form {
  public:
    explicit TimerForm(platform::Runtime& runtime) : Form(runtime, u"TimerForm") {
        setClientSize(3000, 2000);
    }
    platform::Timer ticker{*this, u"Ticker"};
};

class QtRuntimeTest : public testing::Test {
  protected:
    QtRuntimeTest() { runtime.App().Title = u"Korvel"; }

    // DoEvents until `done`, failing rather than hanging when it never comes.
    bool DoEventsUntil(const std::function<bool()>& done) {
        QElapsedTimer clock;
        clock.start();
        while (!done()) {
            if (clock.elapsed() > 10000) {
                return false;
            }
            runtime.DoEvents();
        }
        return true;
    }

    platform::QtRuntime runtime;
    TimerForm form{runtime};
};

TEST_F(QtRuntimeTest, DoEventsFiresAFiveMillisecondTimer) {
    int ticks = 0;
    form.ticker.OnTimer = [&ticks] { ++ticks; };
    form.ticker.setInterval(5);
    // The countdown starts when the window loads, so time from before that.
    const platform::Micros start = runtime.now();
    form.Show();
    int calls = 0;
    ASSERT_TRUE(DoEventsUntil([&] {
        ++calls;
        return ticks >= 10;
    }));
    // Ten ticks of 5 ms cannot come in less than 50 ms after the countdown began.
    EXPECT_GE(runtime.now() - start, 50000);
    // Between ticks DoEvents sleeps: a spinning loop would call it tens of thousands of
    // times in 50 ms. Other window events may take a call each, so leave room for them.
    EXPECT_LE(calls, 500);
}

TEST_F(QtRuntimeTest, TimersRunOnlyWithAnIntervalEnabledAndLoaded) {
    int ticks = 0;
    form.ticker.OnTimer = [&ticks] { ++ticks; };
    form.ticker.setInterval(5);
    // Not loaded yet: the countdown has not started.
    int other = 0;
    TimerForm witness(runtime);
    witness.ticker.OnTimer = [&other] { ++other; };
    witness.ticker.setInterval(5);
    witness.Show();
    ASSERT_TRUE(DoEventsUntil([&other] { return other >= 5; }));
    EXPECT_EQ(ticks, 0);
    form.Show();
    ASSERT_TRUE(DoEventsUntil([&ticks] { return ticks >= 1; }));
    struct Case {
        const char* what;
        std::function<void()> stop;
    };
    const Case cases[] = {
        {"interval 0", [this] { form.ticker.setInterval(0); }},
        {"disabled", [this] { form.ticker.setEnabled(false); }},
        {"unloaded", [this] { form.Unload(); }},
    };
    for (const Case& c : cases) {
        form.ticker.setInterval(5);
        form.ticker.setEnabled(true);
        form.Show();
        c.stop();
        ticks = 0;
        const int seen = other;
        ASSERT_TRUE(DoEventsUntil([&] { return other >= seen + 5; }));
        EXPECT_EQ(ticks, 0) << c.what;
    }
}

TEST_F(QtRuntimeTest, ATickIsNotReenteredWhileItsHandlerRuns) {
    int depth = 0;
    int deepest = 0;
    int ticks = 0;
    int otherTicks = 0;
    TimerForm other(runtime);
    other.ticker.OnTimer = [&otherTicks] { ++otherTicks; };
    other.ticker.setInterval(5);
    other.Show();
    form.ticker.OnTimer = [&] {
        ++ticks;
        ++depth;
        deepest = std::max(deepest, depth);
        if (ticks == 1) {
            // Events run inside the handler; other timers tick, this one waits.
            const int seen = otherTicks;
            DoEventsUntil([&] { return otherTicks >= seen + 5; });
        }
        --depth;
    };
    form.ticker.setInterval(5);
    form.Show();
    ASSERT_TRUE(DoEventsUntil([&ticks] { return ticks >= 3; }));
    EXPECT_EQ(deepest, 1);
}

TEST_F(QtRuntimeTest, MessageBoxLetsTimersTickAndShowsPromptIconAndTitle) {
    struct Case {
        int buttons;
        std::u16string title;
        QMessageBox::Icon icon;
        QString shownTitle;
    };
    const Case cases[] = {
        {platform::vbInformation, u"", QMessageBox::Information, QStringLiteral("Korvel")},
        {platform::vbCritical, u"", QMessageBox::Critical, QStringLiteral("Korvel")},
        {platform::vbOKOnly, u"标题", QMessageBox::NoIcon, QStringLiteral(u"标题")},
    };
    int ticks = 0;
    form.ticker.OnTimer = [&ticks] { ++ticks; };
    form.ticker.setInterval(5);
    form.Show();
    for (const Case& c : cases) {
        const int before = ticks;
        QMessageBox* seen = nullptr;
        QString text;
        int buttons = 0;
        // Closes the box once it is up and the timer has ticked beneath it.
        std::function<void()> closer = [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr || ticks < before + 3) {
                QTimer::singleShot(10, closer);
                return;
            }
            seen = box;
            EXPECT_EQ(box->icon(), c.icon);
            EXPECT_EQ(box->windowTitle(), c.shownTitle);
            text = box->text();
            buttons = static_cast<int>(box->buttons().size());
            box->accept();
        };
        QTimer::singleShot(10, closer);
        EXPECT_EQ(runtime.MsgBox(u"天线没有接好\r\n第二行", c.buttons, c.title), platform::vbOK);
        ASSERT_NE(seen, nullptr);
        EXPECT_EQ(text, QStringLiteral(u"天线没有接好\n第二行"));
        EXPECT_EQ(buttons, 1);
        EXPECT_GE(ticks, before + 3);
    }
}

TEST_F(QtRuntimeTest, MessageBoxSpeaksChineseOffersNoMinimiseAndShowsItsWholeTitle) {
    QMessageBox* seen = nullptr;
    QString ok;
    Qt::WindowFlags flags;
    int width = 0;
    bool backFromMinimised = false;
    std::function<void()> closer = [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            QTimer::singleShot(10, closer);
            return;
        }
        seen = box;
        ok = box->button(QMessageBox::Ok)->text();
        flags = box->windowFlags();
        width = box->width();
        box->showMinimized();  // as the window manager's own minimise button would
        QTimer::singleShot(10, [&backFromMinimised, box] {
            backFromMinimised = box->isVisible() && !box->isMinimized();
            box->accept();
        });
    };
    QTimer::singleShot(10, closer);
    runtime.MsgBox(u"x", platform::vbInformation, {});
    ASSERT_NE(seen, nullptr);
    EXPECT_EQ(ok, QStringLiteral(u"确定"));
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_GE(width, platform::qt::MessageBox::TitleBarWidth(QStringLiteral("Korvel")));
    EXPECT_TRUE(backFromMinimised);
}

TEST(QtTranslations, QtsOwnTextsAreChineseWhileInstalledAndEnglishWithout) {
    const test_support::TempDir empty;
    EXPECT_EQ(platform::qt::InstallQtTranslations(QString::fromStdString(empty.path())), nullptr);
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "OK"), QStringLiteral("OK"));
    auto installed = platform::qt::InstallQtTranslations();
    ASSERT_NE(installed, nullptr) << "Qt's translations (qt6-translations-l10n) are missing";
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "OK"), QStringLiteral(u"确定"));
    EXPECT_EQ(QCoreApplication::translate("QWidgetTextControl", "Select All"),
              QStringLiteral(u"全选"));
    installed.reset();
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "OK"), QStringLiteral("OK"));
}

TEST_F(QtRuntimeTest, SleepBlocksWithoutProcessingEvents) {
    int ticks = 0;
    form.ticker.OnTimer = [&ticks] { ++ticks; };
    form.ticker.setInterval(5);
    form.Show();
    const platform::Micros start = runtime.now();
    runtime.Sleep(30);
    EXPECT_GE(runtime.now() - start, 30000);
    EXPECT_EQ(ticks, 0);
}

TEST_F(QtRuntimeTest, ScreenAndMaximisedBoundsAreInTwips) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    const platform::ScreenSize size = runtime.Screen();
    EXPECT_EQ(size.Width, static_cast<float>(screen->size().width() * 15));
    EXPECT_EQ(size.Height, static_cast<float>(screen->size().height() * 15));
    float left = -1;
    float top = -1;
    float width = 0;
    float height = 0;
    runtime.maximizedBounds(left, top, width, height);
    const QRect area = screen->availableGeometry();
    EXPECT_EQ(left, static_cast<float>(area.x() * 15));
    EXPECT_EQ(width, static_cast<float>(area.width() * 15));
    EXPECT_EQ(height, static_cast<float>(area.height() * 15));
}

TEST_F(QtRuntimeTest, NowIsTheLocalDateAndTime) {
    const QDateTime before = QDateTime::currentDateTime();
    const platform::DateTime now = runtime.Now();
    const QDateTime after = QDateTime::currentDateTime();
    const QDateTime got(QDate(now.year, now.month, now.day),
                        QTime(now.hour, now.minute, now.second));
    EXPECT_GE(got, before.addMSecs(-before.time().msec()));
    EXPECT_LE(got, after);
}

TEST(QtRuntimeApplication, KnowsTheExecutableAndItsVersion) {
    const platform::QtRuntime runtime;
    EXPECT_EQ(runtime.App().EXEName, u"korvel_qt_tests");
    EXPECT_FALSE(runtime.App().Path.empty());
    EXPECT_EQ(runtime.App().Major, 1);
    EXPECT_EQ(runtime.App().Minor, 0);
    EXPECT_EQ(runtime.App().Revision, 4);
}

}  // namespace
