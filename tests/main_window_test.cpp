#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/colors.h"
#include "console/tamsel.h"
#include "console/version_caption.h"
#include "platform/headless/headless_runtime.h"
#include "tests/support/console_fixture.h"

namespace {

class LoadedWindow : public test_support::ConsoleFixture {
  protected:
    LoadedWindow() { start(); }
};

TEST_F(LoadedWindow, ShowsTheStartUpState) {
    EXPECT_EQ(window.Caption(), u"设备测试程序  版本 V1.04");
    const std::vector<std::pair<platform::Label*, std::u16string>> labels = {
        {&window.LabelDTR, u"  DTR"},
        {&window.LabelRTS, u"  RTS"},
        {&window.LabelDSR, u"  DSR"},
        {&window.LabelCTS, u"  CTS"},
        {&window.LabelCD, u"  CD"}};
    for (const auto& [label, caption] : labels) {
        EXPECT_EQ(label->Caption(), caption);
        EXPECT_EQ(label->BackColor(), console::kLightYellow);
    }
    EXPECT_FALSE(window.PortOpened);
    EXPECT_FALSE(window.TextOut.Enabled());
    EXPECT_EQ(window.TextOut.Text(), u"请先打开端口!");
    EXPECT_EQ(window.RTextBuf.Text(), u"");
    EXPECT_EQ(window.LabelMove.Caption(), u"");
    EXPECT_EQ(window.ComStartStop.Caption(), u"打 开 端 口");
    EXPECT_EQ(window.TextSend.BackColor(), console::kYellow);
    EXPECT_EQ(window.TextReceive.BackColor(), console::kYellow);
    EXPECT_EQ(window.CheckDisplay.Value(), 0);
    EXPECT_EQ(window.TimerRead.Interval(), 0);
    EXPECT_EQ(window.TimerDelay.Interval(), 0);
    EXPECT_EQ(window.ActiveControl(), &window.ComboPort);
}

TEST_F(LoadedWindow, ListsHoldTheirEntriesInDesignOrder) {
    ASSERT_EQ(window.ComboPort.ListCount(), 6);
    EXPECT_EQ(window.ComboPort.List(0), u"COM 1");
    EXPECT_EQ(window.ComboPort.List(5), u"COM 6");
    ASSERT_EQ(window.ComboSpeed.ListCount(), 18);
    EXPECT_EQ(window.ComboSpeed.List(0), u"50bps");
    EXPECT_EQ(window.ComboSpeed.List(9), u"9600bps");
    EXPECT_EQ(window.ComboSpeed.List(17), u"256000bps");
}

TEST_F(LoadedWindow, KeypadIsOneArrayLaidOutAsAPhone) {
    const std::u16string captions = u"123456789*0#";
    for (std::size_t i = 0; i < window.ComDial.size(); ++i) {
        const auto& key = window.ComDial[i];
        EXPECT_EQ(key.Index(), static_cast<std::int16_t>(i));
        EXPECT_EQ(key.Caption(), captions.substr(i, 1));
        EXPECT_EQ(key.Left(), (std::array<float, 3>{120, 600, 1080}[i % 3]));
        EXPECT_EQ(key.Top(), (std::array<float, 4>{3780, 4140, 4500, 4860}[i / 3]));
        EXPECT_EQ(key.TabIndex(), 23 + static_cast<int>(i));
    }
}

TEST_F(LoadedWindow, TabOrderSkipsLabelsLampsAndTheDisabledPane) {
    std::vector<std::u16string> visited;
    for (int i = 0; i < 6; ++i) {
        visited.push_back(window.ActiveControl()->Name());
        ASSERT_TRUE(runtime.pressTab(window));
    }
    EXPECT_EQ(visited, (std::vector<std::u16string>{u"ComboPort", u"ComboSpeed", u"ComStartStop",
                                                    u"CheckDisplay", u"RTextBuf", u"ComVersion"}));
}

TEST_F(LoadedWindow, KeysTypedIntoTheDisabledSendPaneGoNowhere) {
    int keyPresses = 0;
    window.TextOut.KeyPress = [&keyPresses](std::int16_t&) { ++keyPresses; };
    EXPECT_FALSE(runtime.type(window.TextOut, u"AT"));
    EXPECT_EQ(keyPresses, 0);
    EXPECT_EQ(window.TextOut.Text(), u"请先打开端口!");
}

TEST(VersionCaption, JoinsMinorAndRevisionWithoutASeparator) {
    struct Case {
        std::int16_t major, minor, revision;
        std::u16string caption;
    };
    for (const Case& c : {Case{1, 0, 4, u"设备测试程序  版本 V1.04"},
                          Case{2, 10, 3, u"设备测试程序  版本 V2.103"}}) {
        platform::Application app;
        app.Major = c.major;
        app.Minor = c.minor;
        app.Revision = c.revision;
        EXPECT_EQ(console::VersionCaption(app), c.caption);
    }
}

}  // namespace
