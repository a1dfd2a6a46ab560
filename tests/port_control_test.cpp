#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/colors.h"
#include "console/port_settings.h"
#include "platform/runtime_error.h"
#include "tests/support/console_fixture.h"

namespace {

using test_support::ConsoleFixture;

class PortControl : public ConsoleFixture {
  protected:
    PortControl() { start(); }

    struct LabelState {
        std::u16string caption;
        platform::Color colour;
        bool operator==(const LabelState&) const = default;
    };
    std::vector<LabelState> labels() {
        std::vector<LabelState> out;
        for (platform::Label* label : {&window.LabelDTR, &window.LabelRTS, &window.LabelDSR,
                                       &window.LabelCTS, &window.LabelCD}) {
            out.push_back({label->Caption(), label->BackColor()});
        }
        return out;
    }
};

TEST(PortSettings, NumberAtTheStartOfTheEntry) {
    struct Case {
        std::u16string entry, settings;
    };
    for (const Case& c :
         {Case{u"9600bps", u"9600,N,8,1"}, Case{u"50bps", u"50,N,8,1"},
          Case{u"256000bps", u"256000,N,8,1"}, Case{u"bps", u"0,N,8,1"}, Case{u"", u"0,N,8,1"}}) {
        EXPECT_EQ(console::PortSettings(c.entry), c.settings);
    }
}

TEST_F(PortControl, PortNumberIsTheListPositionPlusOne) {
    for (std::int16_t index : {0, 5}) {
        open(index, 9);
        EXPECT_TRUE(line(index + 1).isOpen()) << index;
        EXPECT_EQ(window.MSComm.CommPort(), index + 1);
        ASSERT_TRUE(runtime.click(window.ComStartStop));
        EXPECT_FALSE(line(index + 1).isOpen());
    }
}

TEST_F(PortControl, GoodOpenBringsTheConsoleIntoItsWorkingState) {
    open(0, 9);
    EXPECT_TRUE(window.PortOpened);
    EXPECT_EQ(window.Caption(), u"测试中连接 COM 1 状态9600,N,8,1 ......");
    EXPECT_EQ(window.ComStartStop.Caption(), u"关 闭 端 口");
    EXPECT_FALSE(window.ComboPort.Enabled());
    EXPECT_TRUE(window.ComboSpeed.Enabled());
    EXPECT_TRUE(window.TextOut.Enabled());
    EXPECT_EQ(window.TextOut.Text(), u"");
    EXPECT_EQ(window.ActiveControl(), &window.TextOut);
    EXPECT_EQ(window.TimerRead.Interval(), 5);
    EXPECT_TRUE(window.TimerRead.Enabled());
    EXPECT_EQ(window.MSComm.InputMode(), 1);
    EXPECT_EQ(window.MSComm.Handshaking(), 0);
    EXPECT_TRUE(line().rts());
    EXPECT_TRUE(line().dtr());
    EXPECT_EQ(line().settings().baud, 9600);
    EXPECT_EQ(labels(), (std::vector<LabelState>{{u"DTR=0 Enable", console::kGreen},
                                                 {u"RTS=0 Enable", console::kGreen},
                                                 {u"DSR=1 False", console::kLightRed},
                                                 {u"CTS=1 False", console::kLightRed},
                                                 {u"CD=1 OFF", console::kLightRed}}));
    EXPECT_TRUE(line().writes().empty());
}

TEST_F(PortControl, SpeedPickedWhileOpenReachesThePortAndTheCaption) {
    open(0, 9);
    ASSERT_TRUE(runtime.pick(window.ComboSpeed, 11));
    EXPECT_EQ(window.Caption(), u"TC35测试中连接 COM 1 状态19200,N,8,1 ......");
    EXPECT_EQ(line().settings().baud, 19200);
}

TEST_F(PortControl, SpeedPickedWhileClosedChangesOnlyTheSettings) {
    ASSERT_TRUE(runtime.pick(window.ComboSpeed, 17));
    EXPECT_EQ(window.MSComm.Settings(), u"256000,N,8,1");
    EXPECT_EQ(window.Caption(), u"设备测试程序  版本 V1.04");
}

TEST_F(PortControl, RefusedOpenIsReportedAndNothingElseChanges) {
    line(3).refuseOpen(platform::kErrPortInUse);
    open(2, 9);
    ASSERT_EQ(runtime.messages().size(), 1U);
    const auto& message = runtime.messages()[0];
    EXPECT_EQ(message.prompt, u"串口不能被打开:COM 3 9600,N,8,1\r\n" +
                                  platform::StandardErrorText(platform::kErrPortInUse));
    EXPECT_EQ(message.buttons, platform::vbOKOnly);
    EXPECT_EQ(message.title, u"Korvel");
    EXPECT_FALSE(window.PortOpened);
    EXPECT_FALSE(line(3).isOpen());
    EXPECT_EQ(window.ComStartStop.Caption(), u"打 开 端 口");
    EXPECT_TRUE(window.ComboPort.Enabled());
    EXPECT_FALSE(window.TextOut.Enabled());
    EXPECT_EQ(window.TextOut.Text(), u"请先打开端口!");
    EXPECT_EQ(window.TimerRead.Interval(), 0);
    EXPECT_EQ(window.Caption(), u"设备测试程序  版本 V1.04");
    EXPECT_EQ(window.LabelDTR.Caption(), u"  DTR");
    // The control keeps what the open wrote.
    EXPECT_EQ(window.MSComm.CommPort(), 3);
    EXPECT_EQ(window.MSComm.Settings(), u"9600,N,8,1");
}

TEST_F(PortControl, OpenWithoutAPortSelectedUsesThePortTheControlHolds) {
    ASSERT_TRUE(runtime.pick(window.ComboSpeed, 9));
    ASSERT_TRUE(runtime.click(window.ComStartStop));  // port number 0 is refused, silently
    EXPECT_TRUE(runtime.messages().empty());
    EXPECT_TRUE(line(1).isOpen());
    EXPECT_TRUE(window.PortOpened);
}

TEST_F(PortControl, CloseGivesTheClosedLooksAndKeepsTheReceivedText) {
    open(0, 9);
    line().deliver(runtime.now(), "OK\r\n");
    runtime.advanceMs(10);
    ASSERT_TRUE(runtime.click(window.ComStartStop));
    EXPECT_FALSE(window.PortOpened);
    EXPECT_FALSE(line().isOpen());
    EXPECT_FALSE(window.TimerRead.Enabled());
    EXPECT_EQ(window.RTextBuf.Text(), u"OK\r\n");
    EXPECT_EQ(window.ComStartStop.Caption(), u"打 开 端 口");
    EXPECT_TRUE(window.ComboPort.Enabled());
    EXPECT_TRUE(window.ComboSpeed.Enabled());
    EXPECT_FALSE(window.TextOut.Enabled());
    EXPECT_EQ(window.TextOut.Text(), u"请先打开端口!");
    EXPECT_EQ(window.Caption(), u"设备测试程序  版本 V1.04");
    EXPECT_EQ(labels(), (std::vector<LabelState>{{u"DTR", console::kLightYellow},
                                                 {u"RTS", console::kLightYellow},
                                                 {u"DSR", console::kLightYellow},
                                                 {u"CTS", console::kLightYellow},
                                                 {u"CD", console::kLightYellow}}));
    runtime.advanceMs(50);  // no tick after the close
    EXPECT_EQ(window.LabelDTR.Caption(), u"DTR");
}

TEST_F(PortControl, EveryOpenSwitchesRtsOnWhileDtrKeepsItsState) {
    open(0, 9);
    ASSERT_TRUE(runtime.click(window.LabelDTR));
    ASSERT_TRUE(runtime.click(window.LabelRTS));
    EXPECT_FALSE(line().dtr());
    EXPECT_FALSE(line().rts());
    ASSERT_TRUE(runtime.click(window.ComStartStop));
    ASSERT_TRUE(runtime.click(window.ComStartStop));
    EXPECT_FALSE(line().dtr());
    EXPECT_TRUE(line().rts());
    EXPECT_EQ(window.LabelDTR.Caption(), u"DTR=1 Disable");
    EXPECT_EQ(window.LabelRTS.Caption(), u"RTS=0 Enable");
}

TEST_F(PortControl, TogglesDecideByTheLabelsCaption) {
    struct Case {
        std::u16string caption;
        bool dtrAfter;
    };
    for (const Case& c : {Case{u"DTR=0 Enable", false}, Case{u"DTR=1 Disable", true},
                          Case{u"DTR", true}, Case{u"  DTR", true}}) {
        window.MSComm.setDTREnable(!c.dtrAfter);
        window.LabelDTR.setCaption(c.caption);
        ASSERT_TRUE(runtime.click(window.LabelDTR));
        EXPECT_EQ(window.MSComm.DTREnable(), c.dtrAfter) << platform::ToUtf8(c.caption);
        EXPECT_EQ(window.LabelDTR.Caption(), c.dtrAfter ? u"DTR=0 Enable" : u"DTR=1 Disable");
        EXPECT_EQ(window.LabelDTR.BackColor(), c.dtrAfter ? console::kGreen : console::kLightRed);
    }
    // With the port closed the refresh reads the input lines as off.
    EXPECT_EQ(window.LabelCD.Caption(), u"CD=1 OFF");
    EXPECT_TRUE(runtime.messages().empty());
}

TEST_F(PortControl, AllFiveLinesTrueShowOnGreen) {
    line().setDsr(true);
    line().setCts(true);
    line().setCd(true);
    open(0, 9);
    EXPECT_EQ(labels(), (std::vector<LabelState>{{u"DTR=0 Enable", console::kGreen},
                                                 {u"RTS=0 Enable", console::kGreen},
                                                 {u"DSR=0 True", console::kGreen},
                                                 {u"CTS=0 True", console::kGreen},
                                                 {u"CD=0 ON", console::kGreen}}));
    line().setCd(false);
    runtime.advanceMs(5);  // every tick reads the lines again
    EXPECT_EQ(window.LabelCD.Caption(), u"CD=1 OFF");
}

TEST_F(PortControl, ClosingDuringASendLeavesItPendingUntilTheNextOpen) {
    line().refuseOpen(0);
    open(0, 4);  // 300 baud: the send is still going out when the port closes
    ASSERT_TRUE(runtime.type(window.TextOut, u"AT"));
    ASSERT_TRUE(runtime.pressKey(window.TextOut, 13));
    ASSERT_TRUE(window.SendPending);
    ASSERT_TRUE(runtime.click(window.ComStartStop));
    EXPECT_TRUE(window.SendPending);
    ASSERT_TRUE(runtime.click(window.ComStartStop));
    EXPECT_FALSE(window.SendPending);
    EXPECT_EQ(window.SendPos, 0);
    EXPECT_EQ(window.SendLen, 0);
}

TEST_F(PortControl, UnpluggedDeviceDoesNotStopTheConsole) {
    open(0, 9);
    line().unplug();
    runtime.advanceMs(50);  // the ticks pass over the failures
    EXPECT_TRUE(runtime.messages().empty());
    ASSERT_TRUE(runtime.click(window.ComStartStop));
    EXPECT_FALSE(window.PortOpened);
    EXPECT_FALSE(window.MSComm.PortOpen());
}

}  // namespace
