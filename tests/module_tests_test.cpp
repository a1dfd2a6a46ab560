#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/form.h"
#include "platform/timer.h"
#include "platform/utf.h"
#include "tests/support/module_bench.h"

namespace {

using platform::Micros;
using test_support::kMs;

// Every button of the module tests, by name.
std::vector<platform::CommandButton*> TestButtons(console::Tamsel& window) {
    std::vector<platform::CommandButton*> buttons = {
        &window.ComVersion, &window.ComSignal,  &window.ComPIN,  &window.Command3,
        &window.Command1,   &window.ComHandOff, &window.Comcops, &window.ComCallID};
    for (auto& key : window.ComDial) {
        buttons.push_back(&key);
    }
    return buttons;
}

class ClosedPort : public test_support::ModuleBench {};

TEST_F(ClosedPort, EveryButtonDoesNothing) {
    for (const bool openedBefore : {false, true}) {
        SCOPED_TRACE(openedBefore ? "opened and closed again" : "never opened");
        if (openedBefore) {
            open(0, 9);
            ASSERT_TRUE(runtime.click(window.ComStartStop));
            ASSERT_FALSE(window.PortOpened);
        }
        for (platform::CommandButton* button : TestButtons(window)) {
            SCOPED_TRACE(platform::ToUtf8(button->Name()) + " " + std::to_string(button->Index()));
            window.RTextBuf.setText(u"an earlier reply");
            enabledLog.clear();
            const std::size_t writes = line().writes().size();
            const std::u16string sendPane = window.TextOut.Text();
            const auto lamp = window.TextSend.BackColor();
            const auto speed = window.ComboSpeed.ListIndex();
            const std::u16string settings = window.MSComm.Settings();
            const std::u16string caption = window.Caption();
            const Micros start = runtime.now();

            ASSERT_TRUE(runtime.click(*button));

            EXPECT_EQ(line().writes().size(), writes);
            EXPECT_EQ(window.RTextBuf.Text(), u"an earlier reply");
            EXPECT_EQ(window.TextOut.Text(), sendPane);
            EXPECT_EQ(window.TextSend.BackColor(), lamp);
            EXPECT_FALSE(window.SendPending);
            EXPECT_EQ(window.ComboSpeed.ListIndex(), speed);
            EXPECT_EQ(window.MSComm.Settings(), settings);
            EXPECT_EQ(window.Caption(), caption);
            EXPECT_TRUE(enabledLog.changes().empty());
            EXPECT_EQ(runtime.now(), start);
            EXPECT_TRUE(runtime.messages().empty());
            EXPECT_EQ(window.TimerDelay.Interval(), 0);
        }
    }
    EXPECT_TRUE(heard().empty());
}

class HexView : public test_support::OpenModuleBench {};

TEST_F(HexView, MakesEveryReplySearchFail) {
    struct Case {
        platform::CommandButton* button;
        std::vector<std::u16string> messages;
        std::vector<std::string> heard;
        // How the last reply shows: the module's echo as byte codes.
        std::u16string shown;
    };
    const Case cases[] = {
        {&window.ComSignal,
         {u"信号太低,至少应在14以上"},
         {"AT+CSQ"},
         u"[41][54][2B][43][53][51][0D]"},
        // Found and answered at 9600 twice, never recognised; the last pass,
        // at 600, goes unheard.
        {&window.ComVersion, {u"TC35没有反应"}, {"AT&F", "AT&F"}, u""},
        // The module asks for its PIN, but the program cannot read it.
        {&window.ComPIN, {}, {"AT+CPIN?"}, u"[41][54][2B][43][50][49][4E][3F][0D]"},
    };
    ASSERT_TRUE(runtime.click(window.CheckDisplay));
    ASSERT_EQ(window.CheckDisplay.Value(), 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(platform::ToUtf8(c.button->Name()));
        auto config = tc35::ConfigForTc35i();
        config.pinState = "SIM PIN";
        module.powerOn(config, runtime.now());
        ASSERT_TRUE(runtime.pick(window.ComboSpeed, 9));
        runtime.clearMessages();

        ASSERT_TRUE(runtime.click(*c.button));

        EXPECT_EQ(prompts(), c.messages);
        EXPECT_EQ(heard(), c.heard);
        EXPECT_TRUE(window.RTextBuf.Text().starts_with(c.shown))
            << platform::ToUtf8(window.RTextBuf.Text());
        EXPECT_EQ(window.RTextBuf.Text().find_first_not_of(u"[]0123456789ABCDEF"),
                  std::u16string::npos);
    }
}

class ReplyWindow : public test_support::OpenModuleBench {};

// While a command waits for its reply the main window takes no input, but
// its timers keep running and other windows stay usable.
TEST_F(ReplyWindow, NoInputReachesTheMainWindow) {
    platform::Form other{runtime, u"Other"};
    platform::CommandButton otherButton{other, u"OtherButton"};
    int otherClicks = 0;
    otherButton.Click = [&otherClicks] { ++otherClicks; };
    platform::Timer probe{other, u"Probe"};
    std::vector<bool> accepted;
    probe.OnTimer = [&] {
        probe.setEnabled(false);
        accepted = {runtime.click(window.ComSignal), runtime.click(window.ComStartStop),
                    runtime.pick(window.ComboSpeed, 5), runtime.pressKey(window.TextPIN, '1'),
                    runtime.click(window.LabelDTR)};
        runtime.click(otherButton);
    };
    other.Show();
    probe.setInterval(100);
    probe.setEnabled(true);

    ASSERT_TRUE(runtime.click(window.Comcops));

    EXPECT_EQ(accepted, std::vector<bool>(5, false));
    EXPECT_EQ(otherClicks, 1);
    EXPECT_EQ(heard(), (std::vector<std::string>{"AT+COPS?"}));
    EXPECT_EQ(window.RTextBuf.Text(), u"AT+COPS?\r\r\n+COPS: 0,0,\"CHINA MOBILE\"\r\n\r\nOK\r\n");
    EXPECT_EQ(window.ComboSpeed.ListIndex(), 9);
    EXPECT_EQ(window.TextPIN.Text(), u"7395");
    other.Unload();
}

// A window unloaded while a command waits (the program being ended) has no
// timer left to close the reply window; the wait must end all the same.
TEST_F(ReplyWindow, EndsWhenTheWindowIsUnloadedMeanwhile) {
    platform::Form other{runtime, u"Other"};
    platform::Timer closer{other, u"Closer"};
    closer.OnTimer = [&] {
        closer.setEnabled(false);
        window.Unload();
    };
    other.Show();
    closer.setInterval(100);
    closer.setEnabled(true);
    const Micros start = runtime.now();

    tests.SendCommand(u"AT+CSQ");

    EXPECT_FALSE(window.loaded());
    EXPECT_FALSE(line().isOpen());
    EXPECT_LE(runtime.now() - start, 300 * kMs);
    EXPECT_FALSE(window.ReplyWaiting);
    other.Unload();
}

}  // namespace
