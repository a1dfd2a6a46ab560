#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/runtime.h"
#include "platform/utf.h"
#include "tests/support/module_bench.h"

namespace {

using platform::Micros;
using test_support::kMs;

constexpr const char* kInit = "AT&D0X4^SNFS=4^SSYNC=1+CRC=0+CLIP=0+IPR=0";
constexpr const char16_t* kNoAnswer = u"TC35没有反应";
constexpr const char16_t* kClockSet = u"设置TC35的时钟出错!";

// The eight commands of a passing run on 2007-01-05.
const std::vector<std::string> kPassingRun = {"AT&F",          "AT+CCLK=\"07/01/05,23:59:59\"",
                                              "AT^SBC=0^SBC?", "AT^SNFD",
                                              kInit,           "AT+CCLK?",
                                              "ATD*#06#",      "ATI"};

// The speeds of the eleven passes of a search that finds nothing.
const std::vector<std::int32_t> kSearchSpeeds = {9600, 57600, 38400, 28800, 19200, 14400,
                                                 9600, 4800,  2400,  1200,  600};

std::vector<std::string> Lines(const std::vector<std::string>& commands) {
    std::vector<std::string> lines;
    for (const std::string& command : commands) {
        lines.push_back(command + "\r\n");
    }
    return lines;
}

class InitVersionTest : public test_support::OpenModuleBench {
  protected:
    void SetUp() override {
        OpenModuleBench::SetUp();
        runtime.setStartDateTime({2007, 1, 5, 10, 0, 0});
    }

    // A module with these settings from power-on.
    void plug(const std::function<void(tc35::Tc35Config&)>& adjust) {
        auto config = tc35::ConfigForTc35i();
        adjust(config);
        module.powerOn(config, runtime.now());
    }

    void expectTestMessage(const std::u16string& prompt) {
        ASSERT_EQ(prompts(), (std::vector<std::u16string>{prompt}));
        EXPECT_EQ(runtime.messages()[0].buttons, platform::vbOKOnly | platform::vbInformation);
        EXPECT_EQ(runtime.messages()[0].title, u"Korvel");
    }
};

TEST_F(InitVersionTest, PassesAt9600InEightCommands) {
    struct Case {
        const char* module;
        tc35::Tc35Config config;
    };
    const Case cases[] = {{"TC35i 01.05", tc35::ConfigForTc35i()},
                          {"TC35 04.00", tc35::ConfigForTc35()}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.module);
        module.powerOn(c.config, runtime.now());
        runtime.clearMessages();
        const std::u16string caption = window.Caption();
        const std::size_t before = line().writes().size();
        const Micros start = runtime.now();

        ASSERT_TRUE(runtime.click(window.ComVersion));

        EXPECT_TRUE(runtime.messages().empty())
            << platform::ToUtf8(runtime.messages().front().prompt);
        EXPECT_EQ(heard(), kPassingRun);
        EXPECT_EQ(writtenFrom(before), Lines(kPassingRun));
        EXPECT_EQ(speedsFrom(before), std::vector<std::int32_t>(8, 9600));
        // One window per command; the 800 ms pause before the clock read-back.
        const std::vector<Micros> offsets = {0, 300, 600, 900, 1200, 2300, 2600, 2900};
        for (std::size_t i = 0; i < offsets.size() && before + i < line().writes().size(); ++i) {
            EXPECT_EQ(line().writes()[before + i].at - start, offsets[i] * kMs) << "command " << i;
        }
        EXPECT_EQ(runtime.now() - start, 3200 * kMs);
        EXPECT_EQ(window.RTextBuf.Text(),
                  u"ATI\r\r\nSIEMENS\r\n" + platform::FromUtf8(c.config.model) + u"\r\nREVISION " +
                      platform::FromUtf8(c.config.revision) +
                      u"\r\n\r\nOK\r\nIMEI: 490154203237518");
        // The clock set to a second before midnight has run on into the next day.
        EXPECT_TRUE(sim().clockAt(runtime.now()).starts_with("07/01/06,00:00:0"))
            << sim().clockAt(runtime.now());
        EXPECT_EQ(window.ComboSpeed.ListIndex(), 9);
        EXPECT_EQ(window.MSComm.Settings(), u"9600,N,8,1");
        EXPECT_EQ(window.Caption(), caption);
        EXPECT_TRUE(window.Enabled());
    }
}

TEST_F(InitVersionTest, FindsAModuleAt57600OnTheSecondPassAndStaysThere) {
    plug([](tc35::Tc35Config& config) { config.baud = 57600; });
    const std::u16string caption = window.Caption();

    ASSERT_TRUE(runtime.click(window.ComVersion));

    EXPECT_TRUE(runtime.messages().empty()) << platform::ToUtf8(runtime.messages().front().prompt);
    std::vector<std::string> sent = {"AT&F"};
    sent.insert(sent.end(), kPassingRun.begin(), kPassingRun.end());
    EXPECT_EQ(written(), Lines(sent));
    std::vector<std::int32_t> speeds(sent.size(), 57600);
    speeds[0] = 9600;
    EXPECT_EQ(speedsFrom(0), speeds);
    // The first "AT&F" reached the module at the wrong speed.
    EXPECT_EQ(sim().noiseBytes(), 6u);
    EXPECT_EQ(heard(), kPassingRun);
    // The list already showed "9600bps", so selecting it again changed nothing.
    EXPECT_EQ(window.ComboSpeed.ListIndex(), 9);
    EXPECT_EQ(window.MSComm.Settings(), u"57600,N,8,1");
    EXPECT_EQ(line().settings().baud, 57600);
    EXPECT_EQ(window.Caption(), caption);
}

TEST_F(InitVersionTest, ModuleNeverFound) {
    struct Case {
        const char* module;
        std::function<void(tc35::Tc35Config&)> adjust;
        std::size_t heard;
    };
    const Case cases[] = {
        {"silent", [](tc35::Tc35Config& config) { config.silent = true; }, 2},
        {"refusing AT&F", [](tc35::Tc35Config& config) { config.errorCommands = {"AT&F"}; }, 2},
        {"at 115200", [](tc35::Tc35Config& config) { config.baud = 115200; }, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.module);
        plug(c.adjust);
        runtime.clearMessages();
        // Each run starts from the list's speed.
        ASSERT_TRUE(runtime.pick(window.ComboSpeed, 9));
        const std::size_t before = line().writes().size();
        const Micros start = runtime.now();

        ASSERT_TRUE(runtime.click(window.ComVersion));

        expectTestMessage(kNoAnswer);
        EXPECT_EQ(writtenFrom(before), Lines(std::vector<std::string>(11, "AT&F")));
        EXPECT_EQ(speedsFrom(before), kSearchSpeeds);
        EXPECT_EQ(heard(), std::vector<std::string>(c.heard, "AT&F"));
        EXPECT_EQ(runtime.now() - start, 11 * 300 * kMs);
        EXPECT_EQ(window.ComboSpeed.ListIndex(), 9);
        EXPECT_EQ(window.MSComm.Settings(), u"300,N,8,1");
        EXPECT_EQ(line().settings().baud, 300);
    }
}

TEST_F(InitVersionTest, ASecondRunAfterAFailedSearchStartsAt300) {
    struct Case {
        const char* module;
        std::function<void(tc35::Tc35Config&)> first;
        std::function<void(tc35::Tc35Config&)> second;
        std::vector<std::int32_t> speeds;
        std::vector<std::u16string> messages;
    };
    std::vector<std::int32_t> foundAt9600 = {300, 57600, 38400, 28800, 19200, 14400};
    foundAt9600.insert(foundAt9600.end(), 8, 9600);
    std::vector<std::int32_t> neverFound = kSearchSpeeds;
    neverFound[0] = 300;
    const Case cases[] = {
        {"silent, then answering at 9600",
         [](tc35::Tc35Config& config) { config.silent = true; },
         [](tc35::Tc35Config& config) { config.silent = false; },
         foundAt9600,
         {}},
        {"at 115200",
         [](tc35::Tc35Config& config) { config.baud = 115200; },
         [](tc35::Tc35Config&) {},
         neverFound,
         {kNoAnswer}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.module);
        plug(c.first);
        ASSERT_TRUE(runtime.pick(window.ComboSpeed, 9));
        ASSERT_TRUE(runtime.click(window.ComVersion));
        ASSERT_EQ(prompts(), (std::vector<std::u16string>{kNoAnswer}));
        runtime.clearMessages();
        c.second(module.config());
        const std::size_t before = line().writes().size();

        ASSERT_TRUE(runtime.click(window.ComVersion));

        EXPECT_EQ(speedsFrom(before), c.speeds);
        EXPECT_EQ(prompts(), c.messages);
    }
}

TEST_F(InitVersionTest, ReportsEachFailureInItsTurn) {
    struct Case {
        const char* failure;
        std::function<void(tc35::Tc35Config&)> adjust;
        std::u16string message;
        // Commands of the passing run sent before the test stopped.
        std::size_t commands;
    };
    const Case cases[] = {
        {"clock set refused", [](tc35::Tc35Config& config) { config.errorCommands = {"AT+CCLK="}; },
         kClockSet, 2},
        {"initialisation refused", [](tc35::Tc35Config& config) { config.errorCommands = {kInit}; },
         u"TC35 初始化不正确", 5},
        {"clock not running", [](tc35::Tc35Config& config) { config.clockRuns = false; },
         u"TC35的时钟回读出错,没有走时!", 6},
        {"clock read back as 00/01/01",
         [](tc35::Tc35Config& config) {
             config.replyOverrides = {
                 {"AT+CCLK?", "\r\n+CCLK: \"00/01/01,00:00:02\"\r\n\r\nOK\r\n"}};
         },
         kClockSet, 6},
        {"no IMEI echo", [](tc35::Tc35Config& config) { config.echo = false; }, u"读取IMEI号出错",
         7},
        {"TC35i without 01.05", [](tc35::Tc35Config& config) { config.revision = "01.04"; },
         u"TC35i 版本不对,应为1.05版本", 8},
        {"TC35 without 04.00",
         [](tc35::Tc35Config& config) {
             config.model = "TC35";
             config.revision = "03.00";
         },
         u"TC35 版本不对,应为4.00版本", 8},
        // The replies to these two are not judged.
        {"battery and SNFD refused",
         [](tc35::Tc35Config& config) {
             config.errorCommands = {"AT^SBC=0^SBC?", "AT^SNFD"};
         },
         u"", 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failure);
        plug(c.adjust);
        runtime.clearMessages();
        const std::size_t before = line().writes().size();

        ASSERT_TRUE(runtime.click(window.ComVersion));

        if (c.message.empty()) {
            EXPECT_TRUE(runtime.messages().empty())
                << platform::ToUtf8(runtime.messages().front().prompt);
        } else {
            expectTestMessage(c.message);
        }
        const std::vector<std::string> expected(kPassingRun.begin(),
                                                kPassingRun.begin() + c.commands);
        EXPECT_EQ(heard(), expected);
        EXPECT_EQ(writtenFrom(before), Lines(expected));
    }
}

TEST_F(InitVersionTest, TakesTheImeiAfterTheEchoAndItsLineBreak) {
    struct Case {
        const char* reply;
        // Bytes after the module's echo "ATD*#06#\r"; none for the module's own.
        const char* afterEcho;
        std::u16string imeiLine;
    };
    const Case cases[] = {
        {"echo, CR, then the framed IMEI", nullptr, u"IMEI: 490154203237518"},
        {"echo and two line-break characters", "\n490154203237518\r\n\r\nOK\r\n",
         u"IMEI: 490154203237518"},
        {"echo at the end of the reply", "", u"IMEI: "},
        {"reply ending inside the IMEI", "\n4901542", u"IMEI: 4901542"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reply);
        plug([&c](tc35::Tc35Config& config) {
            if (c.afterEcho != nullptr) {
                config.replyOverrides = {{"ATD*#06#", c.afterEcho}};
            }
        });
        runtime.clearMessages();

        ASSERT_TRUE(runtime.click(window.ComVersion));

        // The firmware check still runs over the ATI reply and the IMEI line.
        EXPECT_TRUE(runtime.messages().empty())
            << platform::ToUtf8(runtime.messages().front().prompt);
        EXPECT_EQ(heard(), kPassingRun);
        EXPECT_TRUE(window.RTextBuf.Text().ends_with(u"\r\nOK\r\n" + c.imeiLine))
            << platform::ToUtf8(window.RTextBuf.Text());
    }
}

TEST_F(InitVersionTest, SetsTheClockToASecondBeforeMidnightOfToday) {
    struct Case {
        platform::DateTime today;
        const char* command;
    };
    const Case cases[] = {
        {{2007, 1, 5, 12, 0, 0}, "AT+CCLK=\"07/01/05,23:59:59\""},
        {{2026, 12, 10, 12, 0, 0}, "AT+CCLK=\"26/12/10,23:59:59\""},
        {{2000, 2, 29, 12, 0, 0}, "AT+CCLK=\"00/02/29,23:59:59\""},
        {{2099, 10, 31, 12, 0, 0}, "AT+CCLK=\"99/10/31,23:59:59\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        // Midday, so that the seconds the earlier runs took stay on the same day.
        runtime.setStartDateTime(c.today);
        module.powerOn(tc35::ConfigForTc35i(), runtime.now());
        ASSERT_TRUE(runtime.click(window.ComVersion));
        ASSERT_GE(heard().size(), 2u);
        EXPECT_EQ(heard()[1], c.command);
    }
}

}  // namespace
