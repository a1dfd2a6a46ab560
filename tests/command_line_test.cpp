#include "platform/command_line.h"

#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using platform::CommandLine;

// Programs that exist, by the text that names them.
const std::map<std::u16string, std::string> kPrograms = {
    {u"prog", "/usr/bin/prog"},
    {u"/opt/my app/run", "/opt/my app/run"},
    {u"/srv/a", "/srv/a"},
    {u"/srv/a b/c", "/srv/a b/c"},
};

std::optional<std::string> Resolve(std::u16string_view text) {
    const auto it = kPrograms.find(std::u16string(text));
    return it == kPrograms.end() ? std::nullopt : std::optional<std::string>(it->second);
}

struct LineCase {
    const char* name;
    std::u16string text;
    std::optional<std::string> program;  // nothing: no program found
    std::vector<std::string> arguments;
};

void PrintTo(const LineCase& c, std::ostream* os) {
    *os << c.name;
}

class ParseCommandLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(ParseCommandLine, ProgramAndArguments) {
    const LineCase& c = GetParam();
    const auto line = platform::ParseCommandLine(c.text, Resolve);
    ASSERT_EQ(line.has_value(), c.program.has_value());
    if (line) {
        EXPECT_EQ(line->program, *c.program);
        EXPECT_EQ(line->arguments, c.arguments);
    }
}

const LineCase kLineCases[] = {
    {"BareProgram", u"prog", "/usr/bin/prog", {}},
    {"BlanksAround", u"  prog \t", "/usr/bin/prog", {}},
    {"Arguments", u"prog a  b\tc", "/usr/bin/prog", {"a", "b", "c"}},
    {"QuotedArgument", u"prog \"a b\" c", "/usr/bin/prog", {"a b", "c"}},
    {"EmptyQuotedArgument", u"prog \"\" x", "/usr/bin/prog", {"", "x"}},
    {"BackslashesStayInArguments", u"prog C:\\dir\\f.txt", "/usr/bin/prog", {"C:\\dir\\f.txt"}},
    {"ChineseArgument", u"prog 中文", "/usr/bin/prog", {"中文"}},
    {"QuotedProgram", u"\"/opt/my app/run\" x", "/opt/my app/run", {"x"}},
    {"QuotedProgramAlone", u"\"/opt/my app/run\"", "/opt/my app/run", {}},
    {"UnquotedProgramWithBlank", u"/opt/my app/run x y", "/opt/my app/run", {"x", "y"}},
    {"ShortestProgramFirst", u"/srv/a b/c d", "/srv/a", {"b/c", "d"}},
    {"UnknownProgram", u"nothing here", std::nullopt, {}},
    {"UnknownQuotedProgram", u"\"prog x\"", std::nullopt, {}},
    {"Blank", u"   ", std::nullopt, {}},
    {"Empty", u"", std::nullopt, {}},
};

INSTANTIATE_TEST_SUITE_P(Cases, ParseCommandLine, ::testing::ValuesIn(kLineCases),
                         [](const ::testing::TestParamInfo<LineCase>& param) {
                             return std::string(param.param.name);
                         });

}  // namespace
