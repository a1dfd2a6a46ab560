#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/form.h"
#include "platform/headless/headless_runtime.h"
#include "platform/ignored_failures.h"
#include "platform/runtime_error.h"
#include "platform/timer.h"
#include "platform/utf.h"

namespace {

using platform::Micros;

class TestWindow : public platform::Form {
  public:
    explicit TestWindow(platform::Runtime& runtime) : Form(runtime, u"TestWindow") {
        list.AddItem(u"a");
        list.AddItem(u"b");
        list.AddItem(u"c");
        button.setTabIndex(1);
        list.setTabIndex(0);
        box.setTabIndex(2);
    }
    platform::ComboBox list{*this, u"list"};
    platform::CommandButton button{*this, u"button"};
    platform::TextBox box{*this, u"box"};
    platform::Label label{*this, u"label"};
    platform::Timer fast{*this, u"fast"};
    platform::Timer slow{*this, u"slow"};
};

class FormsRuntime : public testing::Test {
  protected:
    FormsRuntime() { window.Show(); }
    platform::HeadlessRuntime runtime;
    TestWindow window{runtime};
};

TEST_F(FormsRuntime, ListIndexFromCodeRaisesClickOnlyForAnotherEntry) {
    std::vector<std::int16_t> clicks;
    window.list.Click = [&] { clicks.push_back(window.list.ListIndex()); };
    window.list.setListIndex(1);  // raised before the assignment returns
    EXPECT_EQ(clicks, std::vector<std::int16_t>{1});
    window.list.setListIndex(1);   // already selected
    window.list.setListIndex(-1);  // nothing selected, nothing raised
    EXPECT_EQ(clicks, std::vector<std::int16_t>{1});
    EXPECT_EQ(window.list.Text(), u"");
    window.list.setListIndex(2);
    EXPECT_EQ(window.list.Text(), u"c");
    EXPECT_THROW(window.list.setListIndex(3), platform::RuntimeError);
    EXPECT_THROW(window.list.setListIndex(-2), platform::RuntimeError);
    EXPECT_EQ(window.list.ListIndex(), 2);
    // The operator's pick raises Click also for the entry already shown.
    EXPECT_TRUE(runtime.pick(window.list, 2));
    EXPECT_EQ(clicks, (std::vector<std::int16_t>{1, 2, 2}));
}

TEST_F(FormsRuntime, DisabledWindowRefusesInputWhileItsTimersTick) {
    int clicks = 0;
    int ticks = 0;
    window.button.Click = [&] { ++clicks; };
    window.fast.OnTimer = [&] { ++ticks; };
    window.fast.setInterval(5);
    window.setEnabled(false);
    EXPECT_FALSE(runtime.click(window.button));
    EXPECT_FALSE(runtime.pressKey(window.box, 'x'));
    EXPECT_FALSE(runtime.mouseMove(window.label, 1, 0, 0, 0));
    EXPECT_FALSE(runtime.doubleClickBackground(window));
    EXPECT_FALSE(runtime.close(window));
    runtime.advanceMs(50);
    EXPECT_EQ(ticks, 10);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(window.box.Text(), u"");
    window.setEnabled(true);
    EXPECT_TRUE(runtime.click(window.button));
    EXPECT_EQ(clicks, 1);
}

TEST_F(FormsRuntime, DisabledControlTakesNoInputButCodeStillWritesIt) {
    window.box.setEnabled(false);
    EXPECT_FALSE(runtime.type(window.box, u"ab"));
    window.box.setText(u"from code");
    EXPECT_EQ(window.box.Text(), u"from code");
    EXPECT_THROW(window.box.SetFocus(), platform::RuntimeError);
}

TEST_F(FormsRuntime, TimerWithIntervalZeroNeverFires) {
    int ticks = 0;
    window.fast.OnTimer = [&] { ++ticks; };
    window.fast.setEnabled(true);
    runtime.advanceMs(1000);
    EXPECT_EQ(ticks, 0);
}

TEST_F(FormsRuntime, SettingEnabledOrIntervalRestartsTheCountdown) {
    std::vector<Micros> ticks;
    window.fast.OnTimer = [&] { ticks.push_back(runtime.now()); };
    window.fast.setInterval(10);
    runtime.advanceMs(8);
    window.fast.setEnabled(true);  // restarts: next tick at 18 ms, not 10
    runtime.advanceMs(12);
    window.fast.setInterval(10);
    runtime.advanceMs(15);
    EXPECT_EQ(ticks, (std::vector<Micros>{18000, 30000}));
}

TEST_F(FormsRuntime, DoEventsAdvancesToTheNextDueTimerAndFiresItInOrder) {
    std::vector<std::string> fired;
    window.fast.OnTimer = [&] { fired.push_back("fast@" + std::to_string(runtime.now())); };
    window.slow.OnTimer = [&] {
        fired.push_back("slow@" + std::to_string(runtime.now()));
        window.slow.setEnabled(false);
    };
    window.slow.setInterval(15);
    window.fast.setInterval(5);
    for (int i = 0; i < 4; ++i) {
        runtime.DoEvents();
    }
    // Both due at 15 ms fire in one pass, in the order they were armed.
    EXPECT_EQ(fired, (std::vector<std::string>{"fast@5000", "fast@10000", "slow@15000",
                                               "fast@15000", "fast@20000"}));
}

TEST_F(FormsRuntime, PauseAdvancesTheClockAndFiresNothing) {
    int ticks = 0;
    window.fast.OnTimer = [&] { ++ticks; };
    window.fast.setInterval(5);
    runtime.Sleep(800);
    EXPECT_EQ(runtime.now(), 800000);
    EXPECT_EQ(ticks, 0);
    runtime.DoEvents();  // the overdue tick comes once the pump runs again
    EXPECT_EQ(ticks, 1);
}

TEST_F(FormsRuntime, AFailureEscapingAHandlerIsShownAndTheProgramGoesOn) {
    window.button.Click = [] { platform::Raise(platform::kErrDeviceNotOpen); };
    EXPECT_TRUE(runtime.click(window.button));
    ASSERT_EQ(runtime.messages().size(), 1U);
    EXPECT_NE(runtime.messages()[0].prompt.find(u"8012"), std::u16string::npos);
    EXPECT_NE(runtime.messages()[0].prompt.find(platform::StandardErrorText(8012)),
              std::u16string::npos);
    EXPECT_EQ(runtime.messages()[0].title, u"Korvel");
    int ticks = 0;
    window.fast.OnTimer = [&] {
        ++ticks;
        platform::Raise(platform::kErrOverflow);
    };
    window.fast.setInterval(5);
    runtime.advanceMs(10);
    EXPECT_EQ(ticks, 2);  // the timer keeps ticking after a failing tick
}

TEST(IgnoredFailures, AbandonsTheStepRecordsTheNumberAndGoesOn) {
    platform::IgnoredFailures failures;
    std::vector<int> done;
    failures.step([&] { done.push_back(1); });
    EXPECT_EQ(failures.number(), 0);
    failures.step([&] {
        platform::Raise(platform::kErrInvalidPortNumber);
        done.push_back(2);
    });
    failures.step([&] { done.push_back(3); });
    EXPECT_EQ(done, (std::vector<int>{1, 3}));
    EXPECT_EQ(failures.number(), platform::kErrInvalidPortNumber);
    failures.clear();
    EXPECT_EQ(failures.number(), 0);
}

TEST(RuntimeError, CarriesTheStandardTextOfItsNumber) {
    const platform::RuntimeError error(platform::kErrInvalidCall);
    EXPECT_EQ(error.number(), 5);
    EXPECT_EQ(error.text(), u"无效的过程调用或参数");
    EXPECT_NE(platform::StandardErrorText(platform::kErrPermissionDenied).find(u"dialout"),
              std::u16string::npos);
}

TEST_F(FormsRuntime, TypingHonoursMaxLengthAndBackspace) {
    window.box.setMaxLength(4);
    EXPECT_TRUE(runtime.type(window.box, u"123456"));
    EXPECT_EQ(window.box.Text(), u"1234");
    EXPECT_TRUE(runtime.pressKey(window.box, 8));
    EXPECT_EQ(window.box.Text(), u"123");
    window.box.KeyPress = [](std::int16_t& key) {
        if (key == 'x') {
            key = 0;
        }
    };
    EXPECT_TRUE(runtime.type(window.box, u"x"));
    EXPECT_EQ(window.box.Text(), u"123");
}

TEST_F(FormsRuntime, UnloadStopsTheTimersAndShowLoadsAgain) {
    int loads = 0;
    int ticks = 0;
    window.Load = [&] { ++loads; };
    window.fast.OnTimer = [&] { ++ticks; };
    window.fast.setInterval(5);
    window.Unload();
    EXPECT_FALSE(window.loaded());
    runtime.advanceMs(20);
    EXPECT_EQ(ticks, 0);
    window.Show();
    EXPECT_EQ(loads, 1);
    runtime.advanceMs(5);
    EXPECT_EQ(ticks, 1);
}

TEST_F(FormsRuntime, MaximisedWindowReadsTheMaximisedBoundsAndRestoresTheNormalOnes) {
    runtime.setScreen({19200, 10800});
    int resizes = 0;
    window.Resize = [&] { ++resizes; };
    window.setWidth(8000);
    window.setHeight(6000);
    window.setWindowState(platform::vbMaximized);
    EXPECT_EQ(window.Width(), 19200);
    window.setWindowState(platform::vbNormal);
    EXPECT_EQ(window.Width(), 8000);
    EXPECT_EQ(window.Height(), 6000);
    EXPECT_EQ(resizes, 4);
    EXPECT_THROW(window.setWindowState(3), platform::RuntimeError);
}

TEST_F(FormsRuntime, TheRealFrameKeepsADesignedInnerSizeAndASetOuterSize) {
    // Designed by its inner area: the outer size takes whatever frame is drawn.
    window.setClientSize(5730, 3195);
    window.setFrameSize(30, 315);
    EXPECT_EQ(window.ScaleWidth(), 5730);
    EXPECT_EQ(window.ScaleHeight(), 3195);
    EXPECT_EQ(window.Width(), 5760);
    EXPECT_EQ(window.Height(), 3510);
    // An outer size set by code stays; the inner area takes what the frame leaves.
    window.setWidth(8000);
    window.setFrameSize(0, 285);
    EXPECT_EQ(window.Width(), 8000);
    EXPECT_EQ(window.ScaleWidth(), 8000);
    EXPECT_EQ(window.Height(), 3480);
    EXPECT_EQ(window.ScaleHeight(), 3195);
    // Also when code sets the size it already has.
    window.setHeight(3480);
    window.setFrameSize(30, 375);
    EXPECT_EQ(window.Height(), 3480);
    EXPECT_EQ(window.ScaleHeight(), 3105);
}

}  // namespace

namespace {

// Typing over a selection replaces it, also in a text without a length limit.
TEST_F(FormsRuntime, TypingReplacesTheSelection) {
    struct Case {
        std::int32_t maxLength;
        std::int32_t selected;
        std::u16string after;
    };
    for (const Case& c :
         {Case{0, 1, u"aXcd"}, Case{0, 2, u"aXd"}, Case{4, 1, u"aXcd"}, Case{4, 0, u"abcd"}}) {
        window.box.setMaxLength(c.maxLength);
        window.box.setText(u"abcd");
        window.box.setSelStart(1);
        window.box.setSelLength(c.selected);
        ASSERT_TRUE(runtime.pressKey(window.box, 'X'));
        EXPECT_EQ(window.box.Text(), c.after) << c.maxLength << " " << c.selected;
    }
}

// What a text control tells its view when code writes its text.
class EditRecorder final : public platform::ControlView {
  public:
    void propertyChanged(platform::Property) override {}
    void textReplaced(std::int32_t start, std::int32_t removed,
                      std::u16string_view inserted) override {
        edits.push_back({start, removed, std::u16string(inserted)});
    }
    struct Edit {
        std::int32_t start;
        std::int32_t removed;
        std::u16string inserted;
        bool operator==(const Edit&) const = default;
    };
    std::vector<Edit> edits;
};

TEST_F(FormsRuntime, WritingTheTextTellsTheViewOnlyWhatChanged) {
    struct Case {
        std::u16string before;
        std::u16string after;
        EditRecorder::Edit edit;
    };
    const Case cases[] = {
        // Cutting down to the tail, as the receive pane's trim does, even
        // where the head happens to begin like the tail.
        {u"+CSQ: 1\r\n+CSQ: 2\r\n", u"+CSQ: 2\r\n", {0, 9, u""}},
        {u"abc", u"abXc", {2, 0, u"X"}},
        {u"AT\r\nOK", u"", {0, 6, u""}},
        {u"", u"x", {0, 0, u"x"}},
        {u"same", u"same", {0, 0, u""}},
    };
    EditRecorder recorder;
    for (const Case& c : cases) {
        window.box.setText(c.before);
        window.box.setView(&recorder);
        window.box.setText(c.after);
        window.box.setView(nullptr);
        ASSERT_EQ(recorder.edits.size(), 1U);
        EXPECT_EQ(recorder.edits[0], c.edit) << platform::ToUtf8(c.after);
        EXPECT_EQ(window.box.Text(), c.after);
        recorder.edits.clear();
    }
}

}  // namespace
