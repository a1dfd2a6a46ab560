#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <cerrno>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "about/frm_about.h"
#include "platform/headless/headless_runtime.h"
#include "platform/posix/unique_fd.h"
#include "platform/registry.h"
#include "platform/runtime_error.h"
#include "platform/shell.h"
#include "platform/utf.h"
#include "tests/support/fd_reading.h"
#include "tests/support/temp_dir.h"

namespace {

using test_support::ReadUntilClosed;

using about::frmAbout;
using platform::HKEY_LOCAL_MACHINE;
using platform::Registry;

constexpr const char* kPathKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr const char* kFolderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
const std::u16string kUnavailable = u"此时系统信息不可用";

std::vector<std::uint8_t> Bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

// "@" in a text stands for the test's folder.
std::string InFolder(std::string text, const std::string& folder) {
    for (auto at = text.find('@'); at != std::string::npos; at = text.find('@', at)) {
        text.replace(at, 1, folder);
        at += folder.size();
    }
    return text;
}

template <typename Case>
std::string CaseName(const ::testing::TestParamInfo<Case>& param) {
    return param.param.name;
}

// ------------------------------------------------------------ GetKeyValue

enum class Stored { Value, NoValue, NoKey, ReadOnlyKey };

struct ValueCase {
    const char* name;
    Stored stored;
    std::uint32_t type;
    std::string data;
    std::u16string before;  // what KeyVal holds at the call
    bool result;
    std::u16string after;
};

void PrintTo(const ValueCase& c, std::ostream* os) {
    *os << c.name;
}

class GetKeyValueTest : public ::testing::TestWithParam<ValueCase> {};

TEST_P(GetKeyValueTest, ReadsOneValueAsText) {
    const ValueCase& c = GetParam();
    platform::HeadlessRuntime runtime;
    Registry registry;
    frmAbout box(runtime, registry);
    if (c.stored == Stored::Value || c.stored == Stored::ReadOnlyKey) {
        registry.SetValue(HKEY_LOCAL_MACHINE, kPathKey, "PATH", c.type, Bytes(c.data));
    } else if (c.stored == Stored::NoValue) {
        registry.SetValue(HKEY_LOCAL_MACHINE, kPathKey, "OTHER", c.type, Bytes(c.data));
    }
    if (c.stored == Stored::ReadOnlyKey) {
        registry.SetReadOnly(HKEY_LOCAL_MACHINE, kPathKey);
    }

    std::u16string KeyVal = c.before;
    EXPECT_EQ(box.GetKeyValue(HKEY_LOCAL_MACHINE, platform::FromUtf8(kPathKey), u"PATH", KeyVal),
              c.result);
    EXPECT_EQ(KeyVal, c.after);
    EXPECT_EQ(registry.OpenHandles(), 0u);
    EXPECT_TRUE(runtime.messages().empty());
}

using std::string_literals::operator""s;
using platform::REG_DWORD;
using platform::REG_EXPAND_SZ;
using platform::REG_SZ;
constexpr std::uint32_t REG_BINARY = 3;

const ValueCase kValueCases[] = {
    {"TextWithTerminator", Stored::Value, REG_SZ, "C:\\Tools\\msinfo32.exe\0"s, u"", true,
     u"C:\\Tools\\msinfo32.exe"},
    {"TextWithoutTerminator", Stored::Value, REG_SZ, "C:\\Tools\\msinfo32.exe", u"", true,
     u"C:\\Tools\\msinfo32.exe"},
    {"EmptyText", Stored::Value, REG_SZ, "", u"old", true, u""},
    {"EmptyTextWithTerminator", Stored::Value, REG_SZ, "\0"s, u"old", true, u""},
    {"OnlyTheLastZeroGoes", Stored::Value, REG_SZ, "ab\0\0"s, u"", true, u"ab\0"s},
    {"TextInTheCodePage", Stored::Value, REG_SZ, "\xCF\xB5\xCD\xB3\0"s, u"", true, u"系统"},
    {"TextReplacesWhatWasThere", Stored::Value, REG_SZ, "new", u"old", true, u"new"},
    {"Number258", Stored::Value, REG_DWORD, "\x02\x01\x00\x00"s, u"", true, u"258"},
    {"Number255", Stored::Value, REG_DWORD, "\xFF\x00\x00\x00"s, u"", true, u"255"},
    {"NumberZero", Stored::Value, REG_DWORD, "\x00\x00\x00\x00"s, u"old", true, u"0"},
    {"NumberHighByteLast", Stored::Value, REG_DWORD, "\x00\x00\x00\x01"s, u"", true, u"16777216"},
    {"NumberTopBitIsUnsigned", Stored::Value, REG_DWORD, "\x00\x00\x00\x80"s, u"", true,
     u"2147483648"},
    {"NumberAllOnes", Stored::Value, REG_DWORD, "\xFF\xFF\xFF\xFF"s, u"", true, u"4294967295"},
    {"NumberOfThreeBytes", Stored::Value, REG_DWORD, "\x02\x01\x00"s, u"old", false, u""},
    {"NumberOfFiveBytes", Stored::Value, REG_DWORD, "\x02\x01\x00\x00\x00"s, u"old", false, u""},
    {"NumberWithoutBytes", Stored::Value, REG_DWORD, "", u"old", false, u""},
    {"ExpandableTextLeftAlone", Stored::Value, REG_EXPAND_SZ, "%SystemRoot%\0"s, u"old", true,
     u"old"},
    {"BinaryLeftAlone", Stored::Value, REG_BINARY, "\x01\x02"s, u"", true, u""},
    {"MissingKey", Stored::NoKey, REG_SZ, "x", u"old", false, u""},
    {"MissingValue", Stored::NoValue, REG_SZ, "x", u"old", false, u""},
    {"KeyWithoutWriteAccess", Stored::ReadOnlyKey, REG_SZ, "x", u"old", false, u""},
    {"TextOfExactly1024Bytes", Stored::Value, REG_SZ, std::string(1023, 'a') + "\0"s, u"", true,
     std::u16string(1023, u'a')},
    {"TextFilling1024BytesUnterminated", Stored::Value, REG_SZ, std::string(1024, 'a'), u"", true,
     std::u16string(1024, u'a')},
    {"TextOver1024Bytes", Stored::Value, REG_SZ, std::string(1024, 'a') + "\0"s, u"old", false,
     u""},
};

INSTANTIATE_TEST_SUITE_P(Cases, GetKeyValueTest, ::testing::ValuesIn(kValueCases),
                         CaseName<ValueCase>);

TEST(GetKeyValue, PassesKeyAndValueNamesInTheCodePage) {
    platform::HeadlessRuntime runtime;
    Registry registry;
    frmAbout box(runtime, registry);
    // "SOFTWARE\测试", value "路径", in code page 936.
    registry.SetValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\\xB2\xE2\xCA\xD4", "\xC2\xB7\xBE\xB6", REG_SZ,
                      Bytes("ok"));
    std::u16string KeyVal;
    EXPECT_TRUE(box.GetKeyValue(HKEY_LOCAL_MACHINE, u"SOFTWARE\\测试", u"路径", KeyVal));
    EXPECT_EQ(KeyVal, u"ok");
}

TEST(GetKeyValue, ReadsUnderTheRootItIsGiven) {
    platform::HeadlessRuntime runtime;
    Registry registry;
    frmAbout box(runtime, registry);
    registry.SetValue(platform::HKEY_CURRENT_USER, kPathKey, "PATH", REG_SZ, Bytes("user"));
    const std::u16string key = platform::FromUtf8(kPathKey);
    std::u16string KeyVal;
    EXPECT_TRUE(box.GetKeyValue(platform::HKEY_CURRENT_USER, key, u"PATH", KeyVal));
    EXPECT_EQ(KeyVal, u"user");
    EXPECT_FALSE(box.GetKeyValue(HKEY_LOCAL_MACHINE, key, u"PATH", KeyVal));
    EXPECT_EQ(KeyVal, u"");
    EXPECT_FALSE(box.GetKeyValue(0x12345, key, u"PATH", KeyVal));
    EXPECT_EQ(registry.OpenHandles(), 0u);
}

// ------------------------------------------------------------ StartSysInfo

struct Value {
    std::uint32_t type;
    std::string data;  // "@" stands for the test's folder
    bool readOnly = false;
};

struct LaunchCase {
    const char* name;
    std::optional<Value> path;    // lookup 1
    std::optional<Value> folder;  // lookup 2
    bool programInFolder;         // the folder holds MSINFO32.EXE
    int startFailure;             // what starting raises; 0 starts
    std::vector<std::string> started;
    bool message;
};

void PrintTo(const LaunchCase& c, std::ostream* os) {
    *os << c.name;
}

// The box with a program start that records what it was asked to start.
class StartSysInfoTest : public ::testing::TestWithParam<LaunchCase> {
  protected:
    void store(const char* key, const char* name, const Value& value) {
        registry.SetValue(HKEY_LOCAL_MACHINE, key, name, value.type,
                          Bytes(InFolder(value.data, folder.path())));
        registry.SetReadOnly(HKEY_LOCAL_MACHINE, key, value.readOnly);
    }

    platform::HeadlessRuntime runtime;
    Registry registry;
    test_support::TempDir folder;
    std::vector<std::u16string> started;
    std::vector<std::int16_t> styles;
    int startFailure = 0;
    frmAbout box{
        runtime, registry,
        about::ProgramStart{[this](std::u16string_view pathName, std::int16_t windowStyle) {
                                started.emplace_back(pathName);
                                styles.push_back(windowStyle);
                                if (startFailure != 0) {
                                    platform::Raise(startFailure);
                                }
                                return 4242.0;
                            },
                            [](std::u16string_view pathName, int attributes) {
                                return platform::Dir(pathName, attributes);
                            }}};
};

TEST_P(StartSysInfoTest, StartsWhatTheRegistryNamesOrSaysItCannot) {
    const LaunchCase& c = GetParam();
    if (c.path) {
        store(kPathKey, "PATH", *c.path);
    }
    if (c.folder) {
        store(kFolderKey, "MSINFO", *c.folder);
    }
    if (c.programInFolder) {
        test_support::WriteBytes(folder.file("MSINFO32.EXE"), "");
    }
    startFailure = c.startFailure;

    box.StartSysInfo();

    std::vector<std::u16string> expected;
    for (const std::string& path : c.started) {
        expected.push_back(platform::FromUtf8(InFolder(path, folder.path())));
    }
    EXPECT_EQ(started, expected);
    EXPECT_EQ(styles, std::vector<std::int16_t>(expected.size(), 1));
    if (c.message) {
        ASSERT_EQ(runtime.messages().size(), 1u);
        EXPECT_EQ(runtime.messages()[0].prompt, kUnavailable);
        EXPECT_EQ(runtime.messages()[0].buttons, platform::vbOKOnly);
        EXPECT_EQ(runtime.messages()[0].title, u"Korvel");
    } else {
        EXPECT_TRUE(runtime.messages().empty());
    }
    EXPECT_EQ(registry.OpenHandles(), 0u);
}

const Value kProgramPath{REG_SZ, "@/tools/msinfo32.exe\0"s};
const Value kFolder{REG_SZ, "@\0"s};

const LaunchCase kLaunchCases[] = {
    {"PathStartedWithoutAFileTest", kProgramPath, {}, false, 0, {"@/tools/msinfo32.exe"}, false},
    {"PathThatCannotStart",
     kProgramPath,
     {},
     false,
     platform::kErrFileNotFound,
     {"@/tools/msinfo32.exe"},
     true},
    {"PathWinsOverFolder", kProgramPath, kFolder, true, 0, {"@/tools/msinfo32.exe"}, false},
    {"PathAsNumber", Value{REG_DWORD, "\x07\x00\x00\x00"s}, {}, false, 0, {"7"}, false},
    {"PathOfAnotherTypeStartsNothing",
     Value{REG_EXPAND_SZ, "%SystemRoot%\\msinfo32.exe\0"s},
     {},
     false,
     platform::kErrInvalidCall,
     {""},
     true},
    {"MalformedPathFallsBackToFolder",
     Value{REG_DWORD, "\x07\x00"s},
     kFolder,
     true,
     0,
     {"@\\MSINFO32.EXE"},
     false},
    {"OverlongPathFallsBackToFolder",
     Value{REG_SZ, std::string(1025, 'a')},
     kFolder,
     true,
     0,
     {"@\\MSINFO32.EXE"},
     false},
    {"PathKeyWithoutWriteAccess",
     Value{REG_SZ, "@/tools/msinfo32.exe", true},
     kFolder,
     true,
     0,
     {"@\\MSINFO32.EXE"},
     false},
    {"FolderWithProgram", {}, kFolder, true, 0, {"@\\MSINFO32.EXE"}, false},
    {"FolderWithoutProgram", {}, kFolder, false, 0, {}, true},
    {"FolderProgramCannotStart",
     {},
     kFolder,
     true,
     platform::kErrFileNotFound,
     {"@\\MSINFO32.EXE"},
     true},
    {"FolderOfAnotherType", {}, Value{REG_EXPAND_SZ, "@\0"s}, true, 0, {}, true},
    {"FolderKeyWithoutWriteAccess", {}, Value{REG_SZ, "@", true}, true, 0, {}, true},
    {"NeitherLookup", {}, {}, false, 0, {}, true},
};

INSTANTIATE_TEST_SUITE_P(Cases, StartSysInfoTest, ::testing::ValuesIn(kLaunchCases),
                         CaseName<LaunchCase>);

TEST_F(StartSysInfoTest, NothingInTheBoxLaunches) {
    store(kPathKey, "PATH", kProgramPath);
    box.Show();
    runtime.pressEnter(box);
    box.Show();
    runtime.pressEscape(box);
    box.Show();
    runtime.close(box);
    EXPECT_TRUE(started.empty());
    EXPECT_TRUE(runtime.messages().empty());
}

// ------------------------------------------------------------ real program start

class RealStart : public ::testing::Test {
  protected:
    void storeSz(const char* key, const char* name, const std::string& text) {
        registry.SetValue(HKEY_LOCAL_MACHINE, key, name, REG_SZ, Bytes(text + "\0"s));
    }
    void expectUnavailable() {
        ASSERT_EQ(runtime.messages().size(), 1u);
        EXPECT_EQ(runtime.messages()[0].prompt, kUnavailable);
        EXPECT_EQ(runtime.messages()[0].title, u"Korvel");
    }

    platform::HeadlessRuntime runtime;
    Registry registry;
    test_support::TempDir folder;
    frmAbout box{runtime, registry};
};

TEST_F(RealStart, TheProgramRegistryIsEmptySoNothingIsAvailable) {
    frmAbout plain(runtime);
    plain.StartSysInfo();
    expectUnavailable();
    EXPECT_EQ(Registry::Program().OpenHandles(), 0u);
}

TEST_F(RealStart, AMissingProgramShowsTheMessage) {
    storeSz(kPathKey, "PATH", folder.file("msinfo32"));
    box.StartSysInfo();
    expectUnavailable();
}

TEST_F(RealStart, AValueOfAnotherTypeLeavesAnEmptyPathThatCannotStart) {
    registry.SetValue(HKEY_LOCAL_MACHINE, kPathKey, "PATH", REG_EXPAND_SZ,
                      Bytes(folder.file("msinfo32")));
    box.StartSysInfo();
    expectUnavailable();
}

TEST_F(RealStart, StartsTheProgramInTheFolderDetached) {
    // A folder with a blank, named the original platform's way with "\".
    const std::string tools = folder.file("Shared Tools");
    ASSERT_EQ(::mkdir(tools.c_str(), 0755), 0);
    const std::string fifo = folder.file("report");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string program = tools + "/MSINFO32.EXE";
    test_support::WriteBytes(program, "#!/bin/sh\necho started > \"" + fifo + "\"\n");
    ASSERT_EQ(::chmod(program.c_str(), 0755), 0);
    storeSz(kFolderKey, "MSINFO", folder.path() + "\\Shared Tools");

    platform::posix::UniqueFd reader(::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    ASSERT_TRUE(reader.valid());
    box.StartSysInfo();
    EXPECT_TRUE(runtime.messages().empty());
    EXPECT_EQ(ReadUntilClosed(reader.get(), 10000), "started\n");
}

}  // namespace
