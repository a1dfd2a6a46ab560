#include "platform/shell.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "platform/posix/unique_fd.h"
#include "platform/runtime_error.h"
#include "platform/utf.h"
#include "tests/support/fd_reading.h"
#include "tests/support/temp_dir.h"

namespace {

using test_support::ReadUntilClosed;

using platform::Dir;
using platform::Shell;
using test_support::TempDir;
using test_support::WriteBytes;

std::u16string Text(const std::string& utf8) {
    return platform::FromUtf8(utf8);
}

// The number of the run-time failure that starting `command` raises, or
// nothing when it starts.
std::optional<int> StartFailure(const std::u16string& command) {
    try {
        Shell(command, 1);
    } catch (const platform::RuntimeError& error) {
        return error.number();
    }
    return std::nullopt;
}

TEST(Shell, StartsAProgramByPath) {
    EXPECT_GT(Shell(u"/bin/true", 1), 0.0);
}

TEST(Shell, StartsAProgramOnThePath) {
    EXPECT_GT(Shell(u"true", 1), 0.0);
}

TEST(Shell, LeavesNoChildBehind) {
    Shell(u"/bin/true", 1);
    // The intermediate process is reaped and the program is not our child.
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

TEST(Shell, RunsDetachedWithItsArguments) {
    TempDir dir;
    const std::string folder = dir.file("tool folder");
    ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
    const std::string probe = folder + "/probe.sh";
    // Reports its process id, its session and the arguments it received.
    WriteBytes(probe,
               "#!/bin/sh\n"
               "echo \"$$ $(cut -d' ' -f6 /proc/$$/stat) $1|$2\" > \"$3\"\n");
    ASSERT_EQ(::chmod(probe.c_str(), 0755), 0);
    const std::string fifo = dir.file("report");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);

    for (const bool quoted : {false, true}) {
        platform::posix::UniqueFd reader(::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
        ASSERT_TRUE(reader.valid());
        const std::string program = quoted ? "\"" + probe + "\"" : probe;
        const double id = Shell(Text(program + " \"two words\" x " + fifo), 1);
        const std::string report = ReadUntilClosed(reader.get(), 10000);
        std::istringstream in(report);
        long pid = 0;
        long session = 0;
        std::string arguments;
        in >> pid >> session >> std::ws;
        std::getline(in, arguments);
        EXPECT_EQ(static_cast<double>(pid), id) << report;
        EXPECT_NE(session, static_cast<long>(::getsid(0))) << report;
        EXPECT_EQ(arguments, "two words|x") << report;
    }
}

struct FailureCase {
    const char* name;
    const char* file;     // created in the test folder; nullptr for none
    const char* content;  // of that file
    mode_t mode;
    const char* command;  // "@" stands for the test folder
    int error;
};

void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.name;
}

class ShellFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(ShellFailure, Raises) {
    const FailureCase& c = GetParam();
    TempDir dir;
    if (c.file != nullptr) {
        WriteBytes(dir.file(c.file), c.content);
        ASSERT_EQ(::chmod(dir.file(c.file).c_str(), c.mode), 0);
    }
    std::string command = c.command;
    if (const auto at = command.find('@'); at != std::string::npos) {
        command.replace(at, 1, dir.path());
    }
    EXPECT_EQ(StartFailure(Text(command)), c.error);
}

const FailureCase kFailureCases[] = {
    {"EmptyPath", nullptr, "", 0, "", platform::kErrInvalidCall},
    {"BlankPath", nullptr, "", 0, "  \t", platform::kErrInvalidCall},
    {"MissingProgram", nullptr, "", 0, "@/nothing", platform::kErrFileNotFound},
    {"MissingProgramOnPath", nullptr, "", 0, "korvel-no-such-program", platform::kErrFileNotFound},
    {"MissingFolder", nullptr, "", 0, "@/absent/prog", platform::kErrFileNotFound},
    {"Folder", nullptr, "", 0, "@", platform::kErrFileNotFound},
    {"NotExecutable", "plain", "#!/bin/sh\n", 0644, "@/plain", platform::kErrFileNotFound},
    {"NotAProgram", "junk",
     "\x7f"
     "ELF junk",
     0755, "@/junk", platform::kErrFileNotFound},
    {"MissingInterpreter", "script", "#!/korvel/no/such/shell\n", 0755, "@/script",
     platform::kErrFileNotFound},
};

INSTANTIATE_TEST_SUITE_P(Cases, ShellFailure, ::testing::ValuesIn(kFailureCases),
                         [](const ::testing::TestParamInfo<FailureCase>& param) {
                             return std::string(param.param.name);
                         });

struct DirCase {
    const char* name;
    const char16_t* path;  // "@" stands for the test folder
    int attributes;
    std::u16string expected;
};

void PrintTo(const DirCase& c, std::ostream* os) {
    *os << c.name;
}

class DirTest : public ::testing::TestWithParam<DirCase> {};

TEST_P(DirTest, NamesWhatExists) {
    const DirCase& c = GetParam();
    TempDir dir;
    WriteBytes(dir.file("MSINFO32.EXE"), "");
    WriteBytes(dir.file(".hidden"), "");
    ASSERT_EQ(::mkdir(dir.file("sub").c_str(), 0755), 0);
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);
    std::u16string path = c.path;
    if (const auto at = path.find(u'@'); at != std::u16string::npos) {
        path.replace(at, 1, Text(dir.path()));
    }
    EXPECT_EQ(Dir(path, c.attributes), c.expected);
}

const DirCase kDirCases[] = {
    {"File", u"@/MSINFO32.EXE", 0, u"MSINFO32.EXE"},
    {"FileWithBackslash", u"@\\MSINFO32.EXE", 0, u"MSINFO32.EXE"},
    {"MissingFile", u"@/MSINFO.EXE", 0, u""},
    {"MissingFolder", u"@/absent\\MSINFO32.EXE", 0, u""},
    {"Folder", u"@/sub", 0, u""},
    {"FolderAsked", u"@/sub", platform::kAttrDirectory, u"sub"},
    {"FileWhenFoldersAsked", u"@/MSINFO32.EXE", platform::kAttrDirectory, u"MSINFO32.EXE"},
    {"FolderWithTrailingSeparator", u"@/sub/", platform::kAttrDirectory, u""},
    {"HiddenFile", u"@/.hidden", 0, u""},
    {"HiddenFileAsked", u"@/.hidden", platform::kAttrHidden, u".hidden"},
    {"NotAFile", u"@/fifo", 0, u""},
    {"EmptyPath", u"", 0, u""},
};

INSTANTIATE_TEST_SUITE_P(Cases, DirTest, ::testing::ValuesIn(kDirCases),
                         [](const ::testing::TestParamInfo<DirCase>& param) {
                             return std::string(param.param.name);
                         });

}  // namespace
