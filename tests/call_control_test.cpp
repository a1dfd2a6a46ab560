#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/utf.h"
#include "tests/support/module_bench.h"

namespace {

using platform::Micros;
using test_support::kMs;

class CallControl : public test_support::OpenModuleBench {};

TEST_F(CallControl, DialsTheNumberInTheBox) {
    struct Case {
        std::u16string box;
        std::u16string boxAfter;
        const char* command;
    };
    const Case cases[] = {
        {u"", u"10086", "ATD10086;"},
        {u"7", u"10086", "ATD10086;"},
        {u"12", u"12", "ATD12;"},
        {u"13800138000", u"13800138000", "ATD13800138000;"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(platform::ToUtf8(c.box));
        module.powerOn(tc35::ConfigForTc35i(), runtime.now());
        window.TextNumber.setText(c.box);
        const std::size_t before = line().writes().size();

        ASSERT_TRUE(runtime.click(window.Command3));

        EXPECT_EQ(window.TextNumber.Text(), c.boxAfter);
        EXPECT_EQ(writtenFrom(before), (std::vector<std::string>{std::string(c.command) + "\r\n"}));
        EXPECT_EQ(heard(), (std::vector<std::string>{c.command}));
        EXPECT_EQ(window.RTextBuf.Text(),
                  platform::FromUtf8(std::string(c.command) + "\r\r\nOK\r\n"));
        ASSERT_TRUE(sim().module().call().has_value());
        EXPECT_EQ(platform::FromUtf8(sim().module().call()->number), c.boxAfter);
        EXPECT_TRUE(runtime.messages().empty());
    }
}

TEST_F(CallControl, KeypadSendsEachKeyAsATone) {
    for (const auto& key : window.ComDial) {
        const std::size_t before = line().writes().size();
        ASSERT_TRUE(runtime.click(window.ComDial[static_cast<std::size_t>(key.Index())]));
        const std::string command = "AT+VTS=" + platform::ToUtf8(key.Caption());
        EXPECT_EQ(writtenFrom(before), (std::vector<std::string>{command + "\r\n"}));
        EXPECT_EQ(heard().back(), command);
        EXPECT_EQ(window.RTextBuf.Text(), platform::FromUtf8(command + "\r\r\nOK\r\n"));
    }
    // "*" and "#" go out as they are.
    const std::vector<std::string> all = heard();
    EXPECT_EQ(all[9], "AT+VTS=*");
    EXPECT_EQ(all[11], "AT+VTS=#");
    EXPECT_TRUE(runtime.messages().empty());
}

TEST_F(CallControl, HangUpRunsTwoExchanges) {
    const Micros start = runtime.now();
    ASSERT_TRUE(runtime.click(window.ComHandOff));
    EXPECT_EQ(written(), (std::vector<std::string>{"AT+CHUP\r\n", "AT^SLCD\r\n"}));
    ASSERT_EQ(line().writes().size(), 2u);
    EXPECT_EQ(line().writes()[1].at - line().writes()[0].at, 300 * kMs);
    EXPECT_EQ(runtime.now() - start, 600 * kMs);
    // Each exchange empties the pane: only the second reply is left.
    EXPECT_EQ(window.RTextBuf.Text(), u"AT^SLCD\r\r\n^SLCD: 00:00:00\r\n\r\nOK\r\n");
}

TEST_F(CallControl, QueryButtonsLeaveTheReplyForTheOperator) {
    struct Case {
        platform::CommandButton* button;
        const char* command;
        std::u16string reply;
    };
    const Case cases[] = {
        {&window.Comcops, "AT+COPS?", u"AT+COPS?\r\r\n+COPS: 0,0,\"CHINA MOBILE\"\r\n\r\nOK\r\n"},
        {&window.ComCallID, "AT+CLCC", u"AT+CLCC\r\r\nOK\r\n"},
        {&window.Command1, "ATA", u"ATA\r\r\nNO CARRIER\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        const std::size_t before = line().writes().size();
        ASSERT_TRUE(runtime.click(*c.button));
        EXPECT_EQ(writtenFrom(before), (std::vector<std::string>{std::string(c.command) + "\r\n"}));
        EXPECT_EQ(heard().back(), c.command);
        EXPECT_EQ(window.RTextBuf.Text(), c.reply);
    }
    EXPECT_TRUE(runtime.messages().empty());
}

TEST_F(CallControl, AnIncomingCallAnsweredListedAndHungUp) {
    ASSERT_TRUE(runtime.click(window.ComCallID));  // caller id stays off: RING alone
    sim().incomingCall(runtime.now() + 100 * kMs, "13800138000");
    runtime.advanceMs(200);
    // While idle the receive tick shows the ring after the last reply.
    EXPECT_TRUE(window.RTextBuf.Text().ends_with(u"OK\r\n\r\nRING\r\n"));

    // A ring during a window is part of that reply.
    sim().unsolicited(runtime.now() + 100 * kMs, "RING");
    ASSERT_TRUE(runtime.click(window.ComCallID));
    EXPECT_EQ(window.RTextBuf.Text(),
              u"AT+CLCC\r\r\n+CLCC: 1,1,4,0,0,\"13800138000\",129\r\n\r\nOK\r\n\r\nRING\r\n");

    ASSERT_TRUE(runtime.click(window.Command1));
    EXPECT_EQ(window.RTextBuf.Text(), u"ATA\r\r\nOK\r\n");
    ASSERT_TRUE(runtime.click(window.ComCallID));
    EXPECT_EQ(window.RTextBuf.Text(),
              u"AT+CLCC\r\r\n+CLCC: 1,1,0,0,0,\"13800138000\",129\r\n\r\nOK\r\n");
    runtime.advanceMs(5000);
    ASSERT_TRUE(runtime.click(window.ComHandOff));
    EXPECT_EQ(window.RTextBuf.Text(), u"AT^SLCD\r\r\n^SLCD: 00:00:05\r\n\r\nOK\r\n");
    EXPECT_FALSE(sim().module().call().has_value());
}

class CallControlClosed : public test_support::ModuleBench {};

TEST_F(CallControlClosed, DialWithAnEmptyBoxOnlyResetsTheNumber) {
    window.TextNumber.setText(u"");
    ASSERT_TRUE(runtime.click(window.Command3));
    EXPECT_EQ(window.TextNumber.Text(), u"10086");
    EXPECT_TRUE(line().writes().empty());
    EXPECT_TRUE(enabledLog.changes().empty());
}

}  // namespace
