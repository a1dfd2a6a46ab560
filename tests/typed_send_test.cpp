#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "console/colors.h"
#include "console/tamsel.h"
#include "platform/headless/headless_runtime.h"
#include "platform/posix/posix_serial_ports.h"
#include "tests/support/console_fixture.h"
#include "tests/support/temp_dir.h"

namespace {

class TypedSend : public test_support::ConsoleFixture {
  protected:
    TypedSend() {
        start();
        open(0, 9);
    }
    std::vector<std::string> written() {
        std::vector<std::string> out;
        for (const auto& write : line().writes()) {
            out.push_back(write.bytes);
        }
        return out;
    }
};

TEST_F(TypedSend, EnterOnAnEmptyPaneIsDiscardedAndSendsNothing) {
    ASSERT_TRUE(runtime.pressKey(window.TextOut, 13));
    EXPECT_EQ(window.TextOut.Text(), u"");
    EXPECT_TRUE(window.TextOut.Enabled());
    EXPECT_FALSE(window.SendPending);
    EXPECT_EQ(window.TextSend.BackColor(), console::kYellow);
    runtime.advanceMs(20);
    EXPECT_TRUE(written().empty());
}

TEST_F(TypedSend, FirstCharacterDecidesTheCarriageReturn) {
    struct Case {
        std::u16string typed;
        std::string sent;
    };
    for (const Case& c : {Case{u"AT", "AT\r"}, Case{u"at+csq", "at+csq\r"}, Case{u"hello", "hello"},
                          Case{u" AT", " AT"}}) {
        ASSERT_TRUE(runtime.type(window.TextOut, c.typed));
        ASSERT_TRUE(runtime.pressKey(window.TextOut, 13));
        ASSERT_FALSE(written().empty());
        EXPECT_EQ(written().back(), c.sent);
        EXPECT_FALSE(window.TextOut.Enabled()) << "disabled until the tick ends the send";
        EXPECT_EQ(window.TextSend.BackColor(), console::kGreen);
        EXPECT_EQ(window.TextOut.Text(), c.typed) << "no line break entered the pane";
        runtime.advanceMs(20);
        EXPECT_TRUE(window.TextOut.Enabled());
        EXPECT_EQ(window.TextOut.Text(), u"");
    }
    EXPECT_EQ(written().size(), 4U);
}

TEST_F(TypedSend, LongTextNotStartingWithAGoesOutFirstWithoutCarriageReturn) {
    const std::u16string text = u"x" + std::u16string(599, u'1');
    window.TextOut.setText(text);
    ASSERT_TRUE(runtime.pressKey(window.TextOut, 13));
    runtime.advanceMs(1500);
    EXPECT_EQ(written(), (std::vector<std::string>{platform::ToUtf8(text.substr(0, 512)),
                                                   std::string(88, '1') + "\r"}));
}

TEST_F(TypedSend, PastedLineBreaksAreSentUnchanged) {
    window.TextOut.applyViewEdit(0, 0, u"AT\r\nATI");  // as a paste in the pane leaves it
    ASSERT_TRUE(runtime.pressKey(window.TextOut, 13));
    EXPECT_EQ(written(), std::vector<std::string>{"AT\r\nATI\r"});
}

TEST_F(TypedSend, KeysOtherThanEnterAreLeftToThePane) {
    for (const int key : {8, 10, 27, 1, 65, 97, 32, -10544}) {
        std::int16_t code = static_cast<std::int16_t>(key);
        window.TextOut_KeyPress(code);
        EXPECT_EQ(code, key);
    }
    EXPECT_FALSE(window.SendPending);
    EXPECT_TRUE(written().empty());
}

// A typed send through the real serial device on a pseudo-terminal.
class TypedSendOnPty : public testing::Test {
  protected:
    void SetUp() override {
        master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        ASSERT_GE(master, 0);
        ASSERT_EQ(grantpt(master), 0);
        ASSERT_EQ(unlockpt(master), 0);
        ASSERT_EQ(symlink(ptsname(master), folder.file("COM1").c_str()), 0);
        runtime.App().Path = platform::FromUtf8(folder.path());
        window.Show();
        ASSERT_TRUE(runtime.pick(window.ComboPort, 0));
        ASSERT_TRUE(runtime.pick(window.ComboSpeed, 15));
        ASSERT_TRUE(runtime.click(window.ComStartStop));
        ASSERT_TRUE(window.PortOpened);
    }
    void TearDown() override {
        if (window.PortOpened) {
            runtime.click(window.ComStartStop);
        }
        close(master);
    }

    // Reads what reached the far end, letting the console tick meanwhile,
    // until `count` bytes are there or a generous time has passed.
    std::string peerReads(std::size_t count) {
        std::string got;
        for (int round = 0; round < 2000 && got.size() < count; ++round) {
            runtime.advanceMs(5);
            pollfd p{master, POLLIN, 0};
            if (poll(&p, 1, 5) > 0 && (p.revents & POLLIN) != 0) {
                char buffer[4096];
                const ssize_t n = read(master, buffer, sizeof buffer);
                if (n > 0) {
                    got.append(buffer, static_cast<std::size_t>(n));
                }
            }
        }
        return got;
    }

    test_support::TempDir folder;
    platform::HeadlessRuntime runtime;
    platform::posix::PosixSerialPorts ports{folder.path()};
    console::Tamsel window{runtime, ports};
    int master = -1;
};

TEST_F(TypedSendOnPty, PeerReadsExactlyTheTypedLineInItsPieces) {
    const std::u16string text = u"AT+CMGS=" + std::u16string(600, u'5');
    window.TextOut.setText(text);
    ASSERT_TRUE(runtime.pressKey(window.TextOut, 13));
    const std::string expected =
        platform::ToUtf8(text.substr(0, 512)) + "\r" + platform::ToUtf8(text.substr(512)) + "\r";
    EXPECT_EQ(peerReads(expected.size() + 1), expected);
    for (int round = 0; round < 200 && window.SendPending; ++round) {
        runtime.advanceMs(5);
    }
    EXPECT_FALSE(window.SendPending);
    EXPECT_TRUE(window.TextOut.Enabled());
}

}  // namespace
