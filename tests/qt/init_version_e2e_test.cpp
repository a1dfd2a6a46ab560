// The initialisation test in real time: the real runtime, the POSIX serial
// device and the tc35sim program on a pseudo-terminal linked as COM1.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>
#include <string>
#include <vector>

#include "console/tamsel.h"
#include "device_commands/module_tests.h"
#include "platform/posix/posix_serial_ports.h"
#include "platform/qt/qt_runtime.h"
#include "platform/utf.h"
#include "tests/support/tc35sim_process.h"
#include "tests/support/temp_dir.h"

#ifndef TC35SIM_PATH
#error "TC35SIM_PATH names the tc35sim program"
#endif

namespace {

// Answers every message box at once and keeps its text, so that a failed
// check cannot hold the test up.
class MessageCloser {
  public:
    MessageCloser() {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                texts_.push_back(platform::ToUtf8(box->text().toStdU16String()));
                box->accept();
            }
        });
        timer_.start(20);
    }
    const std::vector<std::string>& texts() const { return texts_; }

  private:
    QTimer timer_;
    std::vector<std::string> texts_;
};

TEST(InitVersionEndToEnd, PassesAgainstTheSimulatorOnAPseudoTerminal) {
    struct Case {
        const char* baud;
        const char16_t* settingsAfter;
        // Eight commands, one more for each failed search pass.
        qint64 leastMs;
    };
    const Case cases[] = {{"9600", u"9600,N,8,1", 3200}, {"57600", u"57600,N,8,1", 3500}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.baud);
        const test_support::TempDir folder;
        test_support::WriteBytes(folder.file("korvel.ini"),
                                 "[TamselSet]\nPort=0\nSpeed=9\n[Point]\nTop=1035\nLeft=5175\n"
                                 "Width=8235\nHeight=10000\nWindowState=0\n");
        test_support::Tc35SimProcess simulator{TC35SIM_PATH,
                                               {"--link", folder.file("COM1"), "--baud", c.baud}};
        ASSERT_TRUE(simulator.running());
        ASSERT_FALSE(simulator.output().empty());

        platform::QtRuntime runtime;
        runtime.App().Title = u"Korvel";
        runtime.App().Path = platform::FromUtf8(folder.path());
        runtime.App().EXEName = u"korvel";
        platform::posix::PosixSerialPorts ports{folder.path()};
        console::Tamsel window{runtime, ports};
        device_commands::ModuleTests tests{window};
        MessageCloser messages;
        window.Show();
        ASSERT_EQ(window.ComboPort.ListIndex(), 0);
        ASSERT_EQ(window.ComboSpeed.ListIndex(), 9);

        window.ComStartStop.Click();
        ASSERT_TRUE(window.PortOpened) << platform::ToUtf8(window.Caption());

        QElapsedTimer elapsed;
        elapsed.start();
        window.ComVersion.Click();

        EXPECT_TRUE(messages.texts().empty()) << messages.texts().front();
        EXPECT_GE(elapsed.elapsed(), c.leastMs);
        const std::u16string reply = window.RTextBuf.Text();
        EXPECT_TRUE(reply.starts_with(u"ATI\r\r\nSIEMENS\r\nTC35i\r\nREVISION 01.05\r\n"))
            << platform::ToUtf8(reply);
        EXPECT_TRUE(reply.ends_with(u"\r\nOK\r\nIMEI: 490154203237518")) << platform::ToUtf8(reply);
        EXPECT_EQ(window.MSComm.Settings(), c.settingsAfter);
        EXPECT_TRUE(window.Enabled());

        window.ComStartStop.Click();
        EXPECT_FALSE(window.PortOpened);
        window.Unload();
        EXPECT_EQ(simulator.stop(), 0);
    }
}

}  // namespace
