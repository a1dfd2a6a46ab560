// The main window over the real serial device: what the operator is told when
// a port or a line fails, and how often each tick asks the device for its
// modem lines.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <string>

#include "console/tamsel.h"
#include "platform/headless/headless_runtime.h"
#include "platform/posix/modem_line_io.h"
#include "platform/posix/posix_serial_ports.h"
#include "platform/runtime_error.h"
#include "platform/utf.h"
#include "tests/support/temp_dir.h"

namespace {

// Counts the line readings; answers them as a device with lines or, with
// `refusal` set, as one without (a pseudo-terminal refuses with ENOTTY).
class CountingModemLines final : public platform::posix::ModemLineIo {
  public:
    int get(int, int& bits) override {
        ++reads;
        bits = TIOCM_DSR | TIOCM_CAR;
        return refusal;
    }
    int raise(int, int) override { return refusal; }
    int lower(int, int) override { return refusal; }

    int refusal = 0;
    int reads = 0;
};

class ConsoleOnDevice : public testing::Test {
  protected:
    ConsoleOnDevice() {
        runtime.App().Title = u"Korvel";
        runtime.App().Path = platform::FromUtf8(folder.path());
        window.Show();
    }
    ~ConsoleOnDevice() override {
        if (window.PortOpened) {
            runtime.click(window.ComStartStop);
        }
        if (master >= 0) {
            close(master);
        }
    }

    // COM1 is a pseudo-terminal's far end.
    void linkPseudoTerminal() {
        master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        ASSERT_GE(master, 0);
        ASSERT_EQ(grantpt(master), 0);
        ASSERT_EQ(unlockpt(master), 0);
        ASSERT_EQ(symlink(ptsname(master), folder.file("COM1").c_str()), 0);
    }

    void open() {
        ASSERT_TRUE(runtime.pick(window.ComboPort, 0));
        ASSERT_TRUE(runtime.pick(window.ComboSpeed, 9));
        ASSERT_TRUE(runtime.click(window.ComStartStop));
    }

    test_support::TempDir folder;
    platform::HeadlessRuntime runtime;
    std::shared_ptr<CountingModemLines> lines = std::make_shared<CountingModemLines>();
    platform::posix::PosixSerialPorts ports{folder.path(), lines};
    console::Tamsel window{runtime, ports};
    int master = -1;
};

TEST_F(ConsoleOnDevice, ALinkToAMissingDeviceIsNamedWithItsTarget) {
    ASSERT_EQ(symlink("/dev/ttyKORVEL-unplugged", folder.file("COM1").c_str()), 0);
    open();
    ASSERT_EQ(runtime.messages().size(), 1U);
    EXPECT_EQ(runtime.messages()[0].prompt,
              u"串口不能被打开:COM 1 9600,N,8,1\r\n找不到串口设备:链接 " +
                  platform::FromUtf8(folder.file("COM1")) +
                  u" 指向的 /dev/ttyKORVEL-unplugged 不存在");
    EXPECT_FALSE(window.PortOpened);
}

TEST_F(ConsoleOnDevice, ADtrClickOnADeviceWithoutLinesSaysTheLineWasNotSet) {
    lines->refusal = ENOTTY;
    linkPseudoTerminal();
    open();
    ASSERT_TRUE(window.PortOpened);
    EXPECT_TRUE(runtime.messages().empty()) << "the open itself reports nothing";
    ASSERT_TRUE(runtime.click(window.LabelDTR));
    ASSERT_EQ(runtime.messages().size(), 1U);
    EXPECT_NE(
        runtime.messages()[0].prompt.find(platform::StandardErrorText(platform::kErrLineNotSet)),
        std::u16string::npos);
}

TEST_F(ConsoleOnDevice, EachTickReadsTheLinesOnce) {
    linkPseudoTerminal();
    open();
    ASSERT_TRUE(window.PortOpened);
    const int atOpen = lines->reads;
    runtime.advanceMs(50);  // ten ticks
    EXPECT_EQ(lines->reads - atOpen, 10);
    EXPECT_EQ(window.LabelDSR.Caption(), u"DSR=0 True");
    EXPECT_EQ(window.LabelCTS.Caption(), u"CTS=1 False");
    EXPECT_EQ(window.LabelCD.Caption(), u"CD=0 ON");
}

TEST_F(ConsoleOnDevice, ADeviceWithoutLinesIsAskedOnceAndKeepsTheNeutralCaptions) {
    lines->refusal = ENOTTY;
    linkPseudoTerminal();
    open();
    ASSERT_TRUE(window.PortOpened);
    runtime.advanceMs(50);
    EXPECT_EQ(lines->reads, 1);
    EXPECT_EQ(window.LabelDTR.Caption(), u"DTR=0 Enable");
    EXPECT_EQ(window.LabelRTS.Caption(), u"RTS=0 Enable");
    EXPECT_EQ(window.LabelDSR.Caption(), u"  DSR");
    EXPECT_TRUE(runtime.messages().empty());
}

}  // namespace
