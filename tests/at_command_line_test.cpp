#include "tests/support/at_command_line.h"

#include <gtest/gtest.h>

namespace {

using tc35::AtCommand;
using Form = AtCommand::Form;

TEST(AtCommandLine, SplitsTheProgramsLines) {
    const struct {
        const char* body;
        std::vector<AtCommand> commands;
    } cases[] = {
        {"", {}},
        {"&F", {{"&F", Form::Action, ""}}},
        {"+CSQ", {{"+CSQ", Form::Action, ""}}},
        {"^SBC=0^SBC?", {{"^SBC", Form::Set, "0"}, {"^SBC", Form::Query, ""}}},
        {"&D0X4^SNFS=4^SSYNC=1+CRC=0+CLIP=0+IPR=0",
         {{"&D", Form::Action, "0"},
          {"X", Form::Action, "4"},
          {"^SNFS", Form::Set, "4"},
          {"^SSYNC", Form::Set, "1"},
          {"+CRC", Form::Set, "0"},
          {"+CLIP", Form::Set, "0"},
          {"+IPR", Form::Set, "0"}}},
        {"+CCLK=\"07/01/05,23:59:59\"", {{"+CCLK", Form::Set, "\"07/01/05,23:59:59\""}}},
        {"+CPBW=1,\"+86 10086\";+CPIN=?",
         {{"+CPBW", Form::Set, "1,\"+86 10086\""}, {"+CPIN", Form::Test, ""}}},
        {"D*#06#", {{"D", Form::Action, "*#06#"}}},
        {"e0d 100 86;", {{"E", Form::Action, "0"}, {"D", Form::Action, "10086;"}}},
        {"+cpin=7395", {{"+CPIN", Form::Set, "7395"}}},
        {"+CSQ ; +CPIN?", {{"+CSQ", Form::Action, ""}, {"+CPIN", Form::Query, ""}}},
    };
    for (const auto& c : cases) {
        const auto commands = tc35::SplitCommandLine(c.body);
        ASSERT_TRUE(commands) << c.body;
        EXPECT_EQ(*commands, c.commands) << c.body;
    }
}

TEST(AtCommandLine, RejectsBrokenLines) {
    for (const char* body : {"&", "+", "^=1", "5", "+CPIN=\"7395", "&1"}) {
        EXPECT_FALSE(tc35::SplitCommandLine(body)) << body;
    }
}

}  // namespace
