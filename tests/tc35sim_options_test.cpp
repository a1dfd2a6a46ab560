#include "tests/support/tc35sim_options.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace {

using tc35::ParseTc35SimArguments;

tc35::Tc35SimOptions Parse(std::vector<std::string_view> arguments) {
    return ParseTc35SimArguments(arguments);
}

TEST(Tc35SimOptions, Defaults) {
    const auto options = Parse({"--link", "/tmp/COM1"});
    EXPECT_EQ(options.link, "/tmp/COM1");
    EXPECT_EQ(options.config.baud, 9600);
    EXPECT_EQ(options.config.model, "TC35i");
    EXPECT_EQ(options.config.revision, "01.05");
    EXPECT_FALSE(options.help);
}

TEST(Tc35SimOptions, EachOptionReachesTheModule) {
    const auto options = Parse({"--rssi",
                                "9",
                                "--link",
                                "/dev/x",
                                "--baud",
                                "19200",
                                "--ber",
                                "3",
                                "--pin",
                                "SIM PIN",
                                "--pin-code",
                                "1111",
                                "--puk-code",
                                "99999999",
                                "--delay-ms",
                                "450",
                                "--silent",
                                "--no-echo",
                                "--clock",
                                "07/01/05,23:59:59",
                                "--clock-stopped",
                                "--error",
                                "AT&F",
                                "--error",
                                "AT+CCLK=",
                                "--operator",
                                "CHINA UNICOM",
                                "--imei",
                                "123456789012345",
                                "--dial-result",
                                "BUSY",
                                "--manufacturer",
                                "ACME"});
    const tc35::Tc35Config& c = options.config;
    EXPECT_EQ(options.link, "/dev/x");
    EXPECT_EQ(c.baud, 19200);
    EXPECT_EQ(c.rssi, 9);
    EXPECT_EQ(c.ber, 3);
    EXPECT_EQ(c.pinState, "SIM PIN");
    EXPECT_EQ(c.pin, "1111");
    EXPECT_EQ(c.puk, "99999999");
    EXPECT_EQ(c.replyDelay, 450'000);
    EXPECT_TRUE(c.silent);
    EXPECT_FALSE(c.echo);
    EXPECT_EQ(c.clock, "07/01/05,23:59:59");
    EXPECT_FALSE(c.clockRuns);
    EXPECT_EQ(c.errorCommands, (std::set<std::string>{"AT&F", "AT+CCLK="}));
    EXPECT_EQ(c.operatorName, "CHINA UNICOM");
    EXPECT_EQ(c.imei, "123456789012345");
    EXPECT_EQ(c.dialResult, "BUSY");
    EXPECT_EQ(c.manufacturer, "ACME");
}

TEST(Tc35SimOptions, ModelBringsItsRevisionUnlessOneIsGiven) {
    const struct {
        std::vector<std::string_view> arguments;
        const char* model;
        const char* revision;
    } cases[] = {
        {{"--link", "x", "--model", "TC35"}, "TC35", "04.00"},
        {{"--link", "x", "--model", "TC35i"}, "TC35i", "01.05"},
        {{"--link", "x", "--revision", "03.01", "--model", "TC35i"}, "TC35i", "03.01"},
        {{"--link", "x", "--model", "TC35", "--revision", "04.01"}, "TC35", "04.01"},
    };
    for (const auto& c : cases) {
        const auto options = ParseTc35SimArguments(c.arguments);
        EXPECT_EQ(options.config.model, c.model);
        EXPECT_EQ(options.config.revision, c.revision);
    }
}

TEST(Tc35SimOptions, RejectsBadArguments) {
    const std::vector<std::vector<std::string_view>> cases = {
        {},
        {"--baud", "9600"},
        {"--link"},
        {"--link", "x", "--bogus"},
        {"--link", "x", "--baud", "fast"},
        {"--link", "x", "--baud", "9600x"},
        {"--link", "x", "--rssi", "100"},
        {"--link", "x", "--delay-ms", "-1"},
        {"--link", "x", "--model", "MC35"},
        {"--link", "x", "--pin", "LOCKED"},
        {"--link", "x", "--clock", "07/02/30,00:00:00"},
    };
    for (const auto& arguments : cases) {
        EXPECT_THROW(ParseTc35SimArguments(arguments), std::invalid_argument)
            << (arguments.empty() ? "(none)" : arguments.back());
    }
}

TEST(Tc35SimOptions, HelpNeedsNoLink) {
    EXPECT_TRUE(Parse({"--help"}).help);
}

}  // namespace
