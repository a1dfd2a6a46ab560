#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "device_commands/reply_search.h"
#include "platform/runtime.h"
#include "platform/utf.h"
#include "tests/support/module_bench.h"

namespace {

using platform::Micros;
using test_support::kMs;

constexpr const char16_t* kTooLow = u"信号太低,至少应在14以上";
constexpr const char16_t* kAntenna = u"天线没有接好";

class SignalTest : public test_support::OpenModuleBench {};

TEST_F(SignalTest, JudgesTheSignalReply) {
    struct Case {
        const char* reply;
        int rssi;
        int ber;
        // A reply of its own instead of the module's "+CSQ: rssi,ber".
        std::map<std::string, std::string> overrides;
        bool silent;
        Micros replyDelay;
        // Empty for a pass.
        std::u16string message;
    };
    const Case cases[] = {
        {"9 and its comma", 9, 99, {}, false, 0, kTooLow},
        {"13", 13, 99, {}, false, 0, kTooLow},
        {"14 with bit errors unknown", 14, 99, {}, false, 0, u""},
        {"14 with bit-error 0", 14, 0, {}, false, 0, kAntenna},
        {"20 with bit-error 0", 20, 0, {}, false, 0, kAntenna},
        {"20 with bit-error 7", 20, 7, {}, false, 0, kAntenna},
        {"20 with bit errors unknown", 20, 99, {}, false, 0, u""},
        {"31 with bit errors unknown", 31, 99, {}, false, 0, u""},
        {"99 (not measured)", 99, 99, {}, false, 0, kAntenna},
        {"an empty reply", 20, 99, {}, true, 0, kTooLow},
        {"a reply after the window", 20, 99, {}, false, 400 * kMs, kTooLow},
        {"ERROR", 20, 99, {{"AT+CSQ", "\r\nERROR\r\n"}}, false, 0, kTooLow},
        {"lower-case csq:", 0, 0, {{"AT+CSQ", "\r\ncsq: 20,99\r\n\r\nok\r\n"}}, false, 0, u""},
        {"lower-case csq: with bit-error 0",
         0,
         0,
         {{"AT+CSQ", "\r\ncsq: 20,0\r\n\r\nok\r\n"}},
         false,
         0,
         kAntenna},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reply);
        module.config().rssi = c.rssi;
        module.config().ber = c.ber;
        module.config().replyOverrides = c.overrides;
        module.config().silent = c.silent;
        module.config().replyDelay = c.replyDelay;
        runtime.clearMessages();
        const std::size_t heardBefore = sim().commands().size();
        const std::size_t writesBefore = line().writes().size();

        ASSERT_TRUE(runtime.click(window.ComSignal));

        EXPECT_EQ(writtenFrom(writesBefore), (std::vector<std::string>{"AT+CSQ\r\n"}));
        EXPECT_EQ(speedsFrom(writesBefore), (std::vector<std::int32_t>{9600}));
        ASSERT_EQ(sim().commands().size(), heardBefore + 1);
        EXPECT_EQ(sim().commands().back().line, "AT+CSQ");
        if (c.message.empty()) {
            EXPECT_TRUE(runtime.messages().empty())
                << platform::ToUtf8(runtime.messages().front().prompt);
            // A pass leaves the reply for the operator.
            EXPECT_GT(device_commands::ReplySearch(window.RTextBuf.Text(), u"CSQ:"), 0);
        } else {
            ASSERT_EQ(runtime.messages().size(), 1u);
            const auto& shown = runtime.messages().front();
            EXPECT_EQ(shown.prompt, c.message);
            EXPECT_EQ(shown.buttons, platform::vbOKOnly | platform::vbInformation);
            EXPECT_EQ(shown.title, u"Korvel");
        }
        runtime.advanceMs(1000);  // a late reply drains before the next case
    }
}

class PinTest : public test_support::OpenModuleBench {};

TEST_F(PinTest, SendsThePinOnlyWhenTheModuleAsksForItAndTheBoxHoldsFour) {
    struct Case {
        const char* pinState;
        std::u16string box;
        std::vector<std::string> heard;
        const char* stateAfter;
    };
    const Case cases[] = {
        {"READY", u"7395", {"AT+CPIN?"}, "READY"},
        {"SIM PIN", u"7395", {"AT+CPIN?", "AT+CPIN=7395"}, "READY"},
        {"SIM PIN", u"739", {"AT+CPIN?"}, "SIM PIN"},
        {"SIM PIN", u"", {"AT+CPIN?"}, "SIM PIN"},
        // A wrong PIN is sent all the same and not reported.
        {"SIM PIN", u"1111", {"AT+CPIN?", "AT+CPIN=1111"}, "SIM PIN"},
        // The module asking for its second PIN counts too.
        {"SIM PIN2", u"5678", {"AT+CPIN?", "AT+CPIN=5678"}, "READY"},
        {"SIM PUK", u"7395", {"AT+CPIN?"}, "SIM PUK"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.pinState) + " / " + platform::ToUtf8(c.box));
        auto config = tc35::ConfigForTc35i();
        config.pinState = c.pinState;
        module.powerOn(config, runtime.now());
        window.TextPIN.setText(c.box);
        const std::size_t writesBefore = line().writes().size();
        const Micros start = runtime.now();

        ASSERT_TRUE(runtime.click(window.ComPIN));

        EXPECT_EQ(heard(), c.heard);
        std::vector<std::string> sent;
        for (const std::string& command : c.heard) {
            sent.push_back(command + "\r\n");
        }
        EXPECT_EQ(writtenFrom(writesBefore), sent);
        EXPECT_EQ(runtime.now(), start + static_cast<Micros>(c.heard.size()) * 300 * kMs);
        EXPECT_EQ(sim().module().pinState(), c.stateAfter);
        EXPECT_TRUE(runtime.messages().empty());
        EXPECT_EQ(window.TextPIN.Text(), c.box);
    }
}

TEST_F(PinTest, TheSecondReplyStaysOnScreen) {
    auto config = tc35::ConfigForTc35i();
    config.pinState = "SIM PIN";
    module.powerOn(config, runtime.now());
    ASSERT_TRUE(runtime.click(window.ComPIN));
    EXPECT_EQ(window.RTextBuf.Text(), u"AT+CPIN=7395\r\r\nOK\r\n");
}

class DigitBoxes : public test_support::ModuleBench {};

TEST_F(DigitBoxes, FilterLetsDigitsAndControlCodesThrough) {
    struct Case {
        std::int16_t key;
        bool passes;
    };
    const Case cases[] = {
        {'0', true},  {'5', true},  {'9', true},  {8, true},      {13, true},
        {0, true},    {31, true},   {-1, true},   {-32768, true}, {' ', false},
        {'#', false}, {'*', false}, {'+', false}, {'/', false},   {':', false},
        {'A', false}, {'a', false}, {127, false}, {255, false},   {32767, false},
    };
    using Filter = void (device_commands::ModuleTests::*)(std::int16_t&);
    for (const Filter filter : {&device_commands::ModuleTests::TextPIN_KeyPress,
                                &device_commands::ModuleTests::TextNumber_KeyPress}) {
        for (const Case& c : cases) {
            std::int16_t key = c.key;
            (tests.*filter)(key);
            EXPECT_EQ(key, c.passes ? c.key : 0) << "key " << c.key;
        }
    }
}

TEST_F(DigitBoxes, TakeOnlyDigitsAsTyped) {
    for (platform::TextBox* box : {&window.TextPIN, &window.TextNumber}) {
        SCOPED_TRACE(platform::ToUtf8(box->Name()));
        box->setText(u"");
        ASSERT_TRUE(runtime.type(*box, u"1a 2*#+B3"));
        EXPECT_EQ(box->Text(), u"123");
        // Backspace still deletes.
        ASSERT_TRUE(runtime.pressKey(*box, 8));
        EXPECT_EQ(box->Text(), u"12");
    }
}

}  // namespace
