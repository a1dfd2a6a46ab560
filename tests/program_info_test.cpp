#include <gtest/gtest.h>

#include <string>

#include "platform/program_info.h"

namespace {

TEST(ProgramInfo, FolderAndNameWithoutExtension) {
    struct Case {
        std::u16string path, folder, name;
    };
    for (const Case& c :
         {Case{u"/opt/korvel/korvel", u"/opt/korvel", u"korvel"},
          Case{u"/home/op/bench.v2/tester.bin", u"/home/op/bench.v2", u"tester"},
          Case{u"/korvel", u"/", u"korvel"}, Case{u"/opt/.hidden", u"/opt", u".hidden"}}) {
        std::u16string folder;
        std::u16string name;
        platform::SplitProgramPath(c.path, folder, name);
        EXPECT_EQ(folder, c.folder);
        EXPECT_EQ(name, c.name);
    }
}

TEST(ProgramInfo, ReadsTheRunningExecutable) {
    platform::Application app;
    platform::ReadRunningProgram(app);
    EXPECT_EQ(app.EXEName, u"korvel_tests");
    EXPECT_FALSE(app.Path.empty());
    EXPECT_NE(app.Path.back(), u'/');
}

}  // namespace
