#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/colors.h"
#include "platform/runtime_error.h"
#include "tests/support/console_fixture.h"
#include "tests/support/run_time_error.h"

namespace {

using platform::Micros;

// Counts what reaches the receive pane's view.
class PaneRecorder : public platform::ControlView {
  public:
    void propertyChanged(platform::Property) override {}
    void textReplaced(std::int32_t, std::int32_t, std::u16string_view) override { ++edits; }
    void repaint() override { ++repaints; }
    int edits = 0;
    int repaints = 0;
};

class ReceivePoll : public test_support::ConsoleFixture {
  protected:
    ReceivePoll() {
        start();
        open(0, 9);
        window.RTextBuf.setView(&recorder);
    }
    ~ReceivePoll() override { window.RTextBuf.setView(nullptr); }

    // Bytes arrive now; the next tick shows them.
    std::u16string receive(const std::string& bytes) {
        window.RTextBuf.setText(u"");
        line().deliver(runtime.now(), bytes);
        runtime.advanceMs(5);
        return window.RTextBuf.Text();
    }

    PaneRecorder recorder;
};

TEST_F(ReceivePoll, BytesShowAsTextOrAsBracketedHex) {
    struct Case {
        std::string bytes;
        std::u16string text, hex;
    };
    const std::vector<Case> cases = {
        {"AT\r\n", u"AT\r\n", u"[41][54][0D][0A]"},
        {std::string(1, '\0'), u"[EOF]", u"[00]"},
        {"\x01\x09", u"[01][09]", u"[01][09]"},
        {"\n", u"\n", u"[0A]"},
        {"\xFF", u"\uFFFD", u"[FF]"},
        {"\x80", u"\u20AC", u"[80]"},
        // A two-byte character is shown byte by byte, never joined.
        {"\xD6\xD0", u"\uFFFD\uFFFD", u"[D6][D0]"},
    };
    for (const Case& c : cases) {
        window.CheckDisplay.setValue(0);
        EXPECT_EQ(receive(c.bytes), c.text);
        window.CheckDisplay.setValue(1);
        EXPECT_EQ(receive(c.bytes), c.hex);
    }
}

TEST_F(ReceivePoll, ReceiveLampShowsTheLastTick) {
    line().deliver(runtime.now() + 1000, "OK");
    runtime.advanceMs(5);
    EXPECT_EQ(window.TextReceive.BackColor(), console::kGreen);
    runtime.advanceMs(5);
    EXPECT_EQ(window.TextReceive.BackColor(), console::kYellow);
}

TEST_F(ReceivePoll, OneInsertionAndOneRepaintPerTickAndNoneWhenIdle) {
    line().deliver(runtime.now() + 1000, "+CSQ: 20,99\r\n\r\nOK\r\n");
    runtime.advanceMs(5);
    EXPECT_EQ(recorder.edits, 1);
    EXPECT_EQ(recorder.repaints, 1);
    runtime.advanceMs(50);
    EXPECT_EQ(recorder.edits, 1);
    EXPECT_EQ(recorder.repaints, 1);
    EXPECT_EQ(window.RTextBuf.SelStart(), static_cast<std::int32_t>(window.RTextBuf.Text().size()));
}

TEST_F(ReceivePoll, PaneIsCutToItsLast2000CharactersOnlyWhenLongerThan4000) {
    struct Case {
        std::size_t before;
        std::size_t after;
    };
    for (const Case& c : {Case{4000, 4001}, Case{4001, 2001}}) {
        std::u16string text(c.before, u'a');
        text.back() = u'z';
        window.RTextBuf.setText(text);
        line().deliver(runtime.now(), "x");
        runtime.advanceMs(5);
        EXPECT_EQ(window.RTextBuf.Text().size(), c.after);
        EXPECT_EQ(window.RTextBuf.Text().substr(c.after - 2), u"zx");
    }
    // Nothing arriving leaves a long pane as it is.
    window.RTextBuf.setText(std::u16string(5000, u'a'));
    runtime.advanceMs(50);
    EXPECT_EQ(window.RTextBuf.Text().size(), 5000U);
}

TEST_F(ReceivePoll, NoByteIsLostBetweenTicks) {
    std::string sent;
    for (int i = 0; i < 300; ++i) {
        const std::string chunk = "line " + std::to_string(i) + "\r\n";
        line().deliver(runtime.now() + i * 700, chunk);
        sent += chunk;
    }
    runtime.advanceMs(300);
    EXPECT_EQ(platform::ToUtf8(window.RTextBuf.Text()), sent);
}

// --- send pacing ---

class SendPacing : public test_support::ConsoleFixture {
  protected:
    SendPacing() { start(); }
    // Puts the text into the send pane and presses Enter.
    void send(const std::u16string& text) {
        window.TextOut.setText(text);
        ASSERT_TRUE(runtime.pressKey(window.TextOut, 13));
    }
    std::vector<std::string> written() {
        std::vector<std::string> out;
        for (const auto& write : ports.line(1).writes()) {
            out.push_back(write.bytes);
        }
        return out;
    }
};

TEST_F(SendPacing, OnePieceSendCompletesOnTheFirstTickAfterTheBufferEmpties) {
    open(0, 4);  // 300 baud: "AT\r" takes 100 ms on the line
    send(u"AT");
    EXPECT_FALSE(window.TextOut.Enabled());
    EXPECT_EQ(window.TextSend.BackColor(), console::kGreen);
    runtime.advanceMs(95);
    EXPECT_TRUE(window.SendPending);
    runtime.advanceMs(10);
    EXPECT_FALSE(window.SendPending);
    EXPECT_TRUE(window.TextOut.Enabled());
    EXPECT_EQ(window.TextOut.Text(), u"");
    EXPECT_EQ(window.ActiveControl(), &window.TextOut);
    EXPECT_EQ(window.TextSend.BackColor(), console::kYellow);
    EXPECT_EQ(written(), std::vector<std::string>{"AT\r"});
}

TEST_F(SendPacing, LongTextGoesOutPieceByPieceEachIntoAnEmptyBuffer) {
    open(0, 9);
    const std::u16string text = u"x" + std::u16string(1023, u'y') + u"z";  // 2 × 512 + 1
    send(text);
    runtime.advanceMs(2000);
    const auto& writes = ports.line(1).writes();
    ASSERT_EQ(writes.size(), 3U);
    EXPECT_EQ(writes[0].bytes, platform::ToUtf8(text.substr(0, 512)));
    EXPECT_EQ(writes[1].bytes, platform::ToUtf8(text.substr(512, 512)) + "\r");
    EXPECT_EQ(writes[2].bytes, "z\r");
    // Each piece waits for the line to send the one before: 10 bits a byte at 9600 baud.
    const auto lineTime = [](std::size_t bytes) { return Micros(bytes) * 10'000'000 / 9600; };
    EXPECT_GE(writes[1].at - writes[0].at, lineTime(512));
    EXPECT_GE(writes[2].at - writes[1].at, lineTime(513));
    EXPECT_FALSE(window.SendPending);
    EXPECT_EQ(window.TextOut.Text(), u"");
}

TEST_F(SendPacing, AfterReopeningTheSendStateIsIdle) {
    open(0, 9);
    send(u"AT");
    ASSERT_TRUE(runtime.click(window.ComStartStop));
    ASSERT_TRUE(runtime.click(window.ComStartStop));
    ASSERT_TRUE(runtime.type(window.TextOut, u"ATI"));
    runtime.advanceMs(100);
    EXPECT_EQ(window.TextOut.Text(), u"ATI");  // no completion empties it
    EXPECT_TRUE(window.TextOut.Enabled());
}

// --- the hexadecimal functions ---

class HexFunctions : public test_support::ConsoleFixture {};

TEST_F(HexFunctions, IntToHexStr) {
    struct Case {
        std::int16_t value, digits;
        std::u16string text;
    };
    for (const Case& c :
         {Case{10, 2, u"0A"}, Case{255, 2, u"FF"}, Case{0, 2, u"00"}, Case{0x3F7C, 2, u"7C"},
          Case{10, 0, u"A"}, Case{10, 4, u"000A"}, Case{-1, 0, u"FFFF"}, Case{0, 0, u"0"}}) {
        EXPECT_EQ(window.IntToHexStr(c.value, c.digits), c.text);
    }
    const std::int16_t value = 1;
    const std::int16_t negative = -1;
    EXPECT_EQ(test_support::ErrorOf([&] { window.IntToHexStr(value, negative); }),
              platform::kErrInvalidCall);
}

TEST_F(HexFunctions, HexStrToLong) {
    struct Case {
        std::u16string text;
        std::int32_t value;
    };
    for (const Case& c : {Case{u"1A", 26}, Case{u"ff", 255}, Case{u"3G7", 3}, Case{u" 1A", 0},
                          Case{u"7FFFFFFF", 0x7FFFFFFF}, Case{u"000000001F", 1}, Case{u"", 0},
                          Case{u"07FFFFFFF", 0x7FFFFFFF}}) {
        EXPECT_EQ(window.HexStrToLong(c.text), c.value) << platform::ToUtf8(c.text);
    }
    for (const std::u16string text :
         {u"80000000", u"9ABCDEF0", u"A0000000", u"FFFFFFFF", u"100000000", u"123456789"}) {
        EXPECT_EQ(test_support::ErrorOf([&] { window.HexStrToLong(text); }), platform::kErrOverflow)
            << platform::ToUtf8(text);
    }
}

}  // namespace
