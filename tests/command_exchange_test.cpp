#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/colors.h"
#include "device_commands/reply_search.h"
#include "platform/mscomm.h"
#include "platform/utf.h"
#include "tests/support/module_bench.h"

namespace {

using platform::Micros;
using test_support::kMs;

class CommandExchange : public test_support::OpenModuleBench {};

TEST_F(CommandExchange, KeepsTheWindowDisabledForTheWholeReplyWindow) {
    struct Case {
        const char* module;
        Micros replyDelay;
        bool silent;
        // What RTextBuf holds when the window is enabled again.
        std::u16string reply;
    };
    const Case cases[] = {
        {"answering at once", 0, false, u"AT\r\r\nOK\r\n"},
        {"answering after 200 ms", 200 * kMs, false, u"AT\r\r\nOK\r\n"},
        {"silent", 0, true, u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.module);
        module.config().replyDelay = c.replyDelay;
        module.config().silent = c.silent;
        enabledLog.clear();
        const Micros start = runtime.now();
        const std::size_t before = line().writes().size();

        tests.SendCommand(u"AT");

        ASSERT_EQ(enabledLog.changes().size(), 2u);
        EXPECT_EQ(enabledLog.changes()[0].at, start);
        EXPECT_FALSE(enabledLog.changes()[0].enabled);
        EXPECT_EQ(enabledLog.changes()[1].at, start + 300 * kMs);
        EXPECT_TRUE(enabledLog.changes()[1].enabled);
        EXPECT_EQ(enabledLog.changes()[1].received, c.reply);
        EXPECT_EQ(runtime.now(), start + 300 * kMs);
        EXPECT_EQ(writtenFrom(before), (std::vector<std::string>{"AT\r\n"}));
        EXPECT_EQ(line().writes()[before].at, start);
        // The receive tick finished the send inside the window.
        EXPECT_FALSE(window.SendPending);
        EXPECT_EQ(window.TextOut.Text(), u"");
        EXPECT_TRUE(window.TextOut.Enabled());
        EXPECT_EQ(window.TextSend.BackColor(), console::kYellow);
        EXPECT_FALSE(window.TimerDelay.Enabled());
        EXPECT_FALSE(window.ReplyWaiting);
        EXPECT_TRUE(window.Enabled());
    }
    // The module that answered at once had its whole reply out within a few
    // milliseconds of the command.
    ASSERT_FALSE(sim().commands().empty());
    EXPECT_LT(sim().commands().front().at, 10 * kMs);
}

TEST_F(CommandExchange, LeavesALateReplyOutOfTheReply) {
    struct Case {
        const char* when;
        Micros firstDelay;
        // Idle time between the two exchanges.
        std::int64_t idleMs;
        std::u16string afterIdle;
        std::u16string secondReply;
    };
    const Case cases[] = {
        // The receive tick shows it while idle; the next exchange empties it.
        {"reply after the window, then idle", 400 * kMs, 200,
         u"AT+CSQ\r\r\n+CSQ: 20,99\r\n\r\nOK\r\n", u"AT\r\r\nOK\r\n"},
        // Still on the way when the next command goes out: it lands in that reply.
        {"reply after the window, next command at once", 350 * kMs, 0, u"AT+CSQ\r",
         u"AT\r\r\nOK\r\n\r\n+CSQ: 20,99\r\n\r\nOK\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.when);
        runtime.advanceMs(1000);
        module.config().replyDelay = c.firstDelay;
        tests.SendCommand(u"AT+CSQ");
        EXPECT_EQ(window.RTextBuf.Text(), u"AT+CSQ\r");

        runtime.advanceMs(c.idleMs);
        EXPECT_EQ(window.RTextBuf.Text(), c.afterIdle);

        module.config().replyDelay = 0;
        tests.SendCommand(u"AT");
        EXPECT_EQ(window.RTextBuf.Text(), c.secondReply);
    }
}

TEST_F(CommandExchange, ATestButtonTakesOverATypedSend) {
    auto config = tc35::ConfigForTc35i();
    config.baud = 115200;
    module.powerOn(config);
    ASSERT_TRUE(runtime.pick(window.ComboSpeed, 15));  // 115200bps

    // Two full pieces and a bit: the first goes out at once, the rest waits
    // for the output buffer to drain.
    const std::size_t length = 2 * platform::MSComm::kOutBufferSize + 100;
    const std::u16string typed(length, u'x');
    ASSERT_TRUE(runtime.type(window.TextOut, typed));
    const std::size_t before = line().writes().size();
    ASSERT_TRUE(runtime.pressKey(window.TextOut, 13));
    ASSERT_TRUE(window.SendPending);
    ASSERT_LT(window.SendPos, window.SendLen);

    ASSERT_TRUE(runtime.click(window.ComSignal));

    EXPECT_EQ(heard(), (std::vector<std::string>{"AT+CSQ"}));
    EXPECT_TRUE(runtime.messages().empty()) << platform::ToUtf8(runtime.messages()[0].prompt);
    EXPECT_EQ(window.RTextBuf.Text(), u"AT+CSQ\r\r\n+CSQ: 20,99\r\n\r\nOK\r\n");
    runtime.advanceMs(2000);
    // The rest of the typed line never goes out.
    EXPECT_EQ(writtenFrom(before),
              (std::vector<std::string>{std::string(platform::MSComm::kOutBufferSize, 'x'),
                                        "AT+CSQ\r\n"}));
    EXPECT_FALSE(window.SendPending);
    EXPECT_EQ(window.TextOut.Text(), u"");
    EXPECT_TRUE(window.TextOut.Enabled());
}

TEST_F(CommandExchange, HandsALongCommandOverInPieces) {
    const std::size_t chunk = platform::MSComm::kOutBufferSize;
    const std::string command = "AT" + std::string(chunk + 20, '1');
    const std::string sent = command + "\r\n";
    const Micros start = runtime.now();

    tests.SendCommand(platform::FromUtf8(command));

    // At 9600 the first piece alone outlasts the reply window.
    ASSERT_EQ(written(), (std::vector<std::string>{sent.substr(0, chunk)}));
    EXPECT_TRUE(window.SendPending);
    EXPECT_FALSE(window.TextOut.Enabled());

    runtime.advanceMs(2000);
    ASSERT_EQ(written(),
              (std::vector<std::string>{sent.substr(0, chunk), sent.substr(chunk) + "\r"}));
    // The second piece goes out on the first tick after the first has left.
    const Micros firstLeft = start + (static_cast<Micros>(chunk) * 10'000'000 + 9599) / 9600;
    EXPECT_GE(line().writes()[1].at, firstLeft);
    EXPECT_LE(line().writes()[1].at, firstLeft + 5 * kMs);
    EXPECT_FALSE(window.SendPending);
    EXPECT_TRUE(window.TextOut.Enabled());
}

TEST(ReplySearch, FindsTheFirstOccurrenceLetterCaseIgnored) {
    struct Case {
        std::u16string text;
        std::u16string what;
        std::int32_t position;
    };
    const Case cases[] = {
        {u"AT+CSQ\r\r\n+CSQ: 20,99", u"CSQ:", 11},
        {u"at+csq\r\r\ncsq: 20,99", u"CSQ:", 10},
        {u"\r\nok\r\n", u"OK", 3},
        {u"OK OK", u"ok", 1},
        {u"[41][54][0D][0A]", u"AT", 0},
        {u"", u"OK", 0},
        {u"信号OK", u"ok", 3},
        {u"TC35", u"TC35i", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(device_commands::ReplySearch(c.text, c.what), c.position)
            << platform::ToUtf8(c.text) << " / " << platform::ToUtf8(c.what);
    }
}

}  // namespace
