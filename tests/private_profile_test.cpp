#include "platform/private_profile.h"

#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <optional>
#include <ostream>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "platform/ansi_codepage.h"
#include "platform/utf.h"
#include "tests/support/temp_dir.h"

namespace {

using platform::GetPrivateProfileIntA;
using platform::GetPrivateProfileStringA;
using platform::WritePrivateProfileStringA;
using test_support::ReadBytes;
using test_support::TempDir;
using test_support::WriteBytes;

constexpr std::int32_t kDefault = 50;

std::u16string Text(const std::string& utf8) {
    return platform::FromUtf8(utf8);
}

std::set<std::string> Entries(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

template <typename Case>
std::string CaseName(const ::testing::TestParamInfo<Case>& param) {
    return param.param.name;
}

mode_t Mode(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0);
    return st.st_mode & 07777;
}

// ---------------------------------------------------------------- reading

struct ReadCase {
    const char* name;
    std::optional<std::string> file;  // nothing: no file at all
    std::u16string section;
    std::u16string key;
    std::int32_t number;  // the whole-number read with the default 50
    std::u16string text;  // the string read with an empty default and size 300
};

void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << c.name;
}

class ProfileRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ProfileRead, NumberAndText) {
    const ReadCase& c = GetParam();
    TempDir dir;
    const std::string path = dir.file("korvel.ini");
    if (c.file) {
        WriteBytes(path, *c.file);
    }
    EXPECT_EQ(GetPrivateProfileIntA(c.section, c.key, kDefault, Text(path)), c.number);
    EXPECT_EQ(GetPrivateProfileStringA(c.section, c.key, u"", 300, Text(path)), c.text);
}

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

const ReadCase kReadCases[] = {
    {"MissingFile", std::nullopt, u"TamselSet", u"Port", kDefault, u""},
    {"EmptyFile", "", u"TamselSet", u"Port", kDefault, u""},
    {"MissingSection", "[Point]\nTop=1\n", u"TamselSet", u"Port", kDefault, u""},
    {"MissingKey", "[TamselSet]\nSpeed=3\n", u"TamselSet", u"Port", kDefault, u""},
    {"KeyOnlyInAnotherSection", "[Point]\nPort=1\n[TamselSet]\nSpeed=2\n", u"TamselSet", u"Port",
     kDefault, u""},
    {"KeysBeforeAnySection", "Port=1\n[TamselSet]\n", u"TamselSet", u"Port", kDefault, u""},
    {"NamesIgnoreCase", "[tamselSET]\nPORT=3\n", u"TamselSet", u"Port", 3, u"3"},
    {"BlanksAndTabsAroundNames", "  [ TamselSet ]  \n \t Port \t=  \t4 \t\n", u"TamselSet", u"Port",
     4, u"4"},
    {"NumberThenComment", "[TamselSet]\nPort=5    ; COM 6\n", u"TamselSet", u"Port", 5,
     u"5    ; COM 6"},
    {"Negative", "[Point]\nTop=-120\n", u"Point", u"Top", -120, u"-120"},
    {"PlusSign", "[Point]\nTop=+7\n", u"Point", u"Top", 7, u"+7"},
    {"Letters", "[Point]\nTop=abc\n", u"Point", u"Top", kDefault, u"abc"},
    {"DigitsThenLetters", "[Point]\nTop=12px\n", u"Point", u"Top", 12, u"12px"},
    {"MinusAlone", "[Point]\nTop=-\n", u"Point", u"Top", kDefault, u"-"},
    {"SignThenBlank", "[Point]\nTop=- 5\n", u"Point", u"Top", kDefault, u"- 5"},
    {"EmptyValue", "[Point]\nTop=\n", u"Point", u"Top", kDefault, u""},
    {"Fraction", "[Point]\nTop=2.75\n", u"Point", u"Top", 2, u"2.75"},
    {"CommentedOutKey", "[Point]\n  ;Top=9\n", u"Point", u"Top", kDefault, u""},
    {"LineWithoutEqualsIsNoKey", "[Point]\nTop\nTop=4\n", u"Point", u"Top", 4, u"4"},
    {"FirstSectionAndKeyCount", "[Point]\nTop=1\nTop=2\n[Point]\nTop=3\n", u"Point", u"Top", 1,
     u"1"},
    {"HeaderWithComment", "[Point] ; placement\nTop=2\n", u"Point", u"Top", 2, u"2"},
    {"LargestNumber", "[P]\nv=2147483647\n", u"P", u"v", kMax, u"2147483647"},
    {"SmallestNumber", "[P]\nv=-2147483648\n", u"P", u"v", kMin, u"-2147483648"},
    {"WrapsAboveLargest", "[P]\nv=2147483648\n", u"P", u"v", kMin, u"2147483648"},
    {"WrapsBelowSmallest", "[P]\nv=-2147483649\n", u"P", u"v", kMax, u"-2147483649"},
    {"WrapsToMinusOne", "[P]\nv=4294967295\n", u"P", u"v", -1, u"4294967295"},
    {"WrapsToZero", "[P]\nv=4294967296\n", u"P", u"v", 0, u"4294967296"},
    {"CrLfLines", "[TamselSet]\r\nPort=2\r\n", u"TamselSet", u"Port", 2, u"2"},
    // The buffer's text ends at a NUL byte, so a ";" behind one is not seen.
    {"NulByteEndsTheText", std::string("[P]\nv=12\0; x\n", 13), u"P", u"v", 12, u"12"},
    {"NoFinalLineEnd", "[TamselSet]\nPort=3", u"TamselSet", u"Port", 3, u"3"},
    {"ChineseValue", "[S]\nName=\xD6\xD0\xCE\xC4\n", u"S", u"Name", kDefault, u"中文"},
    // 癩 is B0 5D: its second byte is "]" and must not end the section name.
    {"DoubleByteBracketInSectionName", "[\xB0\x5Dx]\nk=1\n", u"癩x", u"k", 1, u"1"},
    // 癆 is B0 41 and 癮 B0 61: letter case folding must leave them apart.
    {"DoubleByteNamesKeepTheirCase", "[S]\n\xB0\x41=1\n", u"S", u"癮", kDefault, u""},
    {"DoubleByteKeyFound", "[S]\n\xB0\x41=1\n", u"S", u"癆", 1, u"1"},
};

INSTANTIATE_TEST_SUITE_P(Cases, ProfileRead, ::testing::ValuesIn(kReadCases), CaseName<ReadCase>);

// The string read's buffer: at most size - 1 bytes, never half a character.
struct CutCase {
    const char* name;
    std::string value;
    std::size_t size;
    std::size_t keptBytes;
};

void PrintTo(const CutCase& c, std::ostream* os) {
    *os << c.name;
}

class ProfileReadCut : public ::testing::TestWithParam<CutCase> {};

TEST_P(ProfileReadCut, KeepsWholeCharactersBelowSize) {
    const CutCase& c = GetParam();
    TempDir dir;
    const std::string path = dir.file("korvel.ini");
    WriteBytes(path, "[S]\nk=" + c.value + "\n");
    const std::u16string expected = platform::FromAnsi(c.value.substr(0, c.keptBytes));
    EXPECT_EQ(GetPrivateProfileStringA(u"S", u"k", u"", c.size, Text(path)), expected);
}

const CutCase kCutCases[] = {
    {"LongValue", std::string(320, 'x'), 300, 299},
    {"FitsExactly", std::string(299, 'x'), 300, 299},
    {"CommentCut", "5    ; " + std::string(300, 'c'), 300, 299},
    {"DoubleByteAcrossTheCut", std::string(298, 'x') + "\xD6\xD0", 300, 298},
    {"DoubleByteEndsAtTheCut", std::string(297, 'x') + "\xD6\xD0", 300, 299},
    {"SizeOne", "abc", 1, 0},
    {"SizeZero", "abc", 0, 0},
};

INSTANTIATE_TEST_SUITE_P(Cases, ProfileReadCut, ::testing::ValuesIn(kCutCases), CaseName<CutCase>);

TEST(ProfileRead, MissingKeyGivesTheDefaultCutToSize) {
    TempDir dir;
    const std::u16string path = Text(dir.file("none.ini"));
    EXPECT_EQ(GetPrivateProfileStringA(u"S", u"k", u"abcdef", 4, path), u"abc");
    EXPECT_EQ(GetPrivateProfileStringA(u"S", u"k", u"中文", 4, path), u"中");
}

TEST(ProfileRead, PipeInsteadOfFileGivesDefaultsAtOnce) {
    TempDir dir;
    const std::string path = dir.file("korvel.ini");
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    EXPECT_EQ(GetPrivateProfileIntA(u"S", u"k", -7, Text(path)), -7);
    EXPECT_EQ(GetPrivateProfileStringA(u"S", u"k", u"d", 300, Text(path)), u"d");
    EXPECT_FALSE(WritePrivateProfileStringA(u"S", u"k", u"1", Text(path)));
}

TEST(ProfileRead, FolderInsteadOfFileGivesDefaults) {
    TempDir dir;
    const std::u16string path = Text(dir.path());
    EXPECT_EQ(GetPrivateProfileIntA(u"S", u"k", -7, path), -7);
    EXPECT_EQ(GetPrivateProfileStringA(u"S", u"k", u"d", 300, path), u"d");
    EXPECT_FALSE(WritePrivateProfileStringA(u"S", u"k", u"1", path));
}

// ---------------------------------------------------------------- writing

struct WriteCase {
    const char* name;
    std::optional<std::string> before;  // nothing: no file yet
    std::u16string section;
    std::u16string key;
    std::u16string value;
    std::string after;
};

void PrintTo(const WriteCase& c, std::ostream* os) {
    *os << c.name;
}

class ProfileWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(ProfileWrite, ChangesOnlyWhatItMust) {
    const WriteCase& c = GetParam();
    TempDir dir;
    const std::string path = dir.file("korvel.ini");
    if (c.before) {
        WriteBytes(path, *c.before);
    }
    EXPECT_TRUE(WritePrivateProfileStringA(c.section, c.key, c.value, Text(path)));
    EXPECT_EQ(ReadBytes(path), c.after);
    EXPECT_EQ(GetPrivateProfileStringA(c.section, c.key, u"", 300, Text(path)), c.value);
    EXPECT_EQ(Entries(dir.path()), std::set<std::string>{"korvel.ini"});
}

const WriteCase kWriteCases[] = {
    {"NewFile", std::nullopt, u"TamselSet", u"Port", u"3", "[TamselSet]\nPort=3\n"},
    {"EmptyFile", "", u"TamselSet", u"Port", u"3", "[TamselSet]\nPort=3\n"},
    {"KeyAfterLastKeyOfItsSection", "; settings\n[TamselSet]\nPort=1\n\n[Point]\nTop=5\n",
     u"TamselSet", u"Speed", u"6", "; settings\n[TamselSet]\nPort=1\nSpeed=6\n\n[Point]\nTop=5\n"},
    {"KeyBeforeTrailingComment", "[A]\nk=1\n; note\n\n[B]\nm=2\n", u"A", u"j", u"2",
     "[A]\nk=1\nj=2\n; note\n\n[B]\nm=2\n"},
    {"KeyInSectionWithoutKeys", "[A]\n; only a comment\n[B]\n", u"A", u"k", u"1",
     "[A]\nk=1\n; only a comment\n[B]\n"},
    {"KeyWhereSameNameIsInAnotherSection", "[B]\nk=1\n[A]\nm=2\n", u"A", u"k", u"3",
     "[B]\nk=1\n[A]\nm=2\nk=3\n"},
    {"SectionAfterBlankLine", "[A]\nk=1\n", u"B", u"j", u"2", "[A]\nk=1\n\n[B]\nj=2\n"},
    {"SectionAfterExistingBlankLine", "[A]\nk=1\n\n", u"B", u"j", u"2", "[A]\nk=1\n\n[B]\nj=2\n"},
    {"KeyWithoutFinalLineEnd", "[A]\nk=1", u"A", u"j", u"2", "[A]\nk=1\nj=2\n"},
    {"SectionWithoutFinalLineEnd", "[A]\nk=1", u"B", u"j", u"2", "[A]\nk=1\n\n[B]\nj=2\n"},
    {"CrLfKey", "[A]\r\nk=1\r\n\r\n[B]\r\n", u"A", u"j", u"2", "[A]\r\nk=1\r\nj=2\r\n\r\n[B]\r\n"},
    {"CrLfSection", "[A]\r\nk=1\r\n", u"C", u"j", u"2", "[A]\r\nk=1\r\n\r\n[C]\r\nj=2\r\n"},
    {"FirstLineEndDecides", "[A]\nk=1\r\n", u"A", u"j", u"2", "[A]\nk=1\r\nj=2\n"},
    {"ReplaceInPlace", "; top\r\n[TamselSet]\r\nPort = 1    ; COM 2\r\nSpeed=6\r\n", u"TamselSet",
     u"Port", u"3    ; COM 2", "; top\r\n[TamselSet]\r\nPort = 3    ; COM 2\r\nSpeed=6\r\n"},
    {"ReplaceKeepsKeySpelling", "[tamselset]\n  PORT\t=1\n", u"TamselSet", u"Port", u"2",
     "[tamselset]\n  PORT\t=2\n"},
    {"ReplaceDropsOldTrailingBlanks", "[A]\nk=1   \nm=2\n", u"A", u"k", u"22", "[A]\nk=22\nm=2\n"},
    {"ReplaceFirstOfTwo", "[A]\nk=1\nk=2\n", u"A", u"k", u"3", "[A]\nk=3\nk=2\n"},
    {"ReplaceKeepsOtherLines", "junk\n[A]\nnot a key\nk=1\n;c\n", u"A", u"k", u"-1",
     "junk\n[A]\nnot a key\nk=-1\n;c\n"},
    {"SameValue", "[A]\n k = 1\n", u"A", u"k", u"1", "[A]\n k = 1\n"},
    {"ChineseTextAsCp936", "[A]\n", u"A", u"名", u"中文", "[A]\n\xC3\xFB=\xD6\xD0\xCE\xC4\n"},
};

INSTANTIATE_TEST_SUITE_P(Cases, ProfileWrite, ::testing::ValuesIn(kWriteCases),
                         CaseName<WriteCase>);

TEST(ProfileWrite, BackslashIsPartOfAName) {
    for (const char* name : {"bench\\pc/korvel.ini", "kor\\vel.ini"}) {
        TempDir dir;
        ASSERT_EQ(::mkdir(dir.file("bench\\pc").c_str(), 0755), 0);
        const std::u16string path = Text(dir.file(name));
        EXPECT_TRUE(WritePrivateProfileStringA(u"A", u"k", u"1", path)) << name;
        EXPECT_EQ(ReadBytes(dir.file(name)), "[A]\nk=1\n") << name;
        EXPECT_EQ(GetPrivateProfileIntA(u"A", u"k", 0, path), 1) << name;
        EXPECT_FALSE(std::filesystem::exists(dir.file("bench"))) << name;
        EXPECT_FALSE(std::filesystem::exists(dir.file("kor"))) << name;
    }
}

TEST(ProfileWrite, SameValueDoesNotRewriteTheFile) {
    TempDir dir;
    const std::string path = dir.file("korvel.ini");
    WriteBytes(path, "[A]\nk=1    ; note\n");
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    EXPECT_TRUE(WritePrivateProfileStringA(u"A", u"k", u"1    ; note", Text(path)));
    struct stat after {};
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
}

TEST(ProfileWrite, MissingFolderFails) {
    TempDir dir;
    const std::u16string path = Text(dir.file("absent")) + u"/korvel.ini";
    EXPECT_FALSE(WritePrivateProfileStringA(u"A", u"k", u"1", path));
    EXPECT_TRUE(Entries(dir.path()).empty());
}

TEST(ProfileWrite, LineBreakInNameOrValueFails) {
    TempDir dir;
    const std::string path = dir.file("korvel.ini");
    WriteBytes(path, "[A]\nk=1\n");
    EXPECT_FALSE(WritePrivateProfileStringA(u"A", u"k", u"2\n[B]", Text(path)));
    EXPECT_FALSE(WritePrivateProfileStringA(u"A", u"k\r", u"2", Text(path)));
    EXPECT_FALSE(WritePrivateProfileStringA(u"A\n", u"k", u"2", Text(path)));
    EXPECT_EQ(ReadBytes(path), "[A]\nk=1\n");
}

TEST(ProfileWrite, KeepsPermissions) {
    for (const mode_t mode : {0600, 0640, 0664, 0604}) {
        TempDir dir;
        const std::string path = dir.file("korvel.ini");
        WriteBytes(path, "[A]\nk=1\n");
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
        EXPECT_TRUE(WritePrivateProfileStringA(u"A", u"k", u"2", Text(path)));
        EXPECT_EQ(ReadBytes(path), "[A]\nk=2\n");
        EXPECT_EQ(Mode(path), mode) << std::oct << mode;
    }
}

TEST(ProfileWrite, NewFileFollowsUmask) {
    const struct {
        mode_t mask;
        mode_t mode;
    } cases[] = {{022, 0644}, {027, 0640}, {077, 0600}};
    for (const auto& c : cases) {
        TempDir dir;
        const std::string path = dir.file("korvel.ini");
        const mode_t old = ::umask(c.mask);
        const bool written = WritePrivateProfileStringA(u"A", u"k", u"1", Text(path));
        ::umask(old);
        EXPECT_TRUE(written);
        EXPECT_EQ(Mode(path), c.mode) << std::oct << c.mask;
    }
}

TEST(ProfileWrite, SymbolicLinkStaysALink) {
    TempDir dir;
    const std::string target = dir.file("real.ini");
    const std::string link = dir.file("korvel.ini");
    WriteBytes(target, "[A]\nk=1\n");
    ASSERT_EQ(::symlink("real.ini", link.c_str()), 0);
    EXPECT_TRUE(WritePrivateProfileStringA(u"A", u"k", u"2", Text(link)));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadBytes(target), "[A]\nk=2\n");
    EXPECT_EQ(Entries(dir.path()), (std::set<std::string>{"korvel.ini", "real.ini"}));
}

// ------------------------------------------------------ failed saves

// Writes in a child process, as an unprivileged user when the tests run as
// root, for whom permission bits do not count. Nothing when the user cannot
// be changed.
std::optional<bool> WriteUnprivileged(const std::string& path) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            ::_exit(2);
        }
        ::_exit(WritePrivateProfileStringA(u"A", u"k", u"2", Text(path)) ? 1 : 0);
    }
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status) ||
        WEXITSTATUS(status) == 2) {
        return std::nullopt;
    }
    return WEXITSTATUS(status) == 1;
}

struct UnprivilegedCase {
    const char* name;
    mode_t folderMode;
    std::optional<mode_t> fileMode;  // nothing: no file yet
    bool written;
    bool needsAnotherUsersFile = false;
};

void PrintTo(const UnprivilegedCase& c, std::ostream* os) {
    *os << c.name;
}

class ProfileWriteUnprivileged : public ::testing::TestWithParam<UnprivilegedCase> {};

// Where the folder allows no temporary file, a writable file is rewritten in
// place; a save is refused only when neither works, and then changes nothing.
TEST_P(ProfileWriteUnprivileged, SavesWhereverTheFileAllows) {
    const UnprivilegedCase& c = GetParam();
    if (c.needsAnotherUsersFile && ::geteuid() != 0) {
        GTEST_SKIP() << "only root can leave a file of another user";
    }
    TempDir dir;
    const std::string path = dir.file("korvel.ini");
    const std::string before = "[A]\nk=100\n";
    struct stat old {};
    if (c.fileMode) {
        WriteBytes(path, before);
        ASSERT_EQ(::chmod(path.c_str(), *c.fileMode), 0);
        ASSERT_EQ(::stat(path.c_str(), &old), 0);
    }
    ASSERT_EQ(::chmod(dir.path().c_str(), c.folderMode), 0);
    const auto written = WriteUnprivileged(path);
    ::chmod(dir.path().c_str(), 0700);
    if (!written) {
        GTEST_SKIP() << "cannot run as an unprivileged user";
    }
    EXPECT_EQ(*written, c.written);
    if (!c.fileMode) {
        EXPECT_TRUE(Entries(dir.path()).empty());
        return;
    }
    EXPECT_EQ(ReadBytes(path), c.written ? "[A]\nk=2\n" : before);
    EXPECT_EQ(Entries(dir.path()), std::set<std::string>{"korvel.ini"});
    struct stat now {};
    ASSERT_EQ(::stat(path.c_str(), &now), 0);
    EXPECT_EQ(now.st_ino, old.st_ino);
    EXPECT_EQ(now.st_mode, old.st_mode);
    EXPECT_EQ(now.st_uid, old.st_uid);
}

const UnprivilegedCase kUnprivilegedCases[] = {
    {"ReadOnlyFolderWritableFile", 0555, 0666, true},
    // The temporary file can be made, but not renamed over another user's file.
    {"StickyFolderAnotherUsersWritableFile", 01777, 0666, true, true},
    {"ReadOnlyFolderReadOnlyFile", 0555, 0444, false},
    {"ReadOnlyFolderNoFile", 0555, std::nullopt, false},
    {"ReadOnlyFile", 0777, 0444, false},
};

INSTANTIATE_TEST_SUITE_P(Cases, ProfileWriteUnprivileged, ::testing::ValuesIn(kUnprivilegedCases),
                         CaseName<UnprivilegedCase>);

// Makes writes beyond a file size fail as on a full disk, for root as well.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit old_{};
    void (*oldHandler_)(int) = SIG_DFL;
};

TEST(ProfileWrite, FullDiskLeavesOldFileWhole) {
    TempDir dir;
    const std::string path = dir.file("korvel.ini");
    const std::string before = "[TamselSet]\nPort=1\nSpeed=6\n[Point]\nTop=50\nLeft=50\n";
    WriteBytes(path, before);
    bool written = true;
    {
        const FileSizeLimit limit(before.size() - 8);
        written = WritePrivateProfileStringA(u"Point", u"Width", u"8000", Text(path));
    }
    EXPECT_FALSE(written);
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_EQ(Entries(dir.path()), std::set<std::string>{"korvel.ini"});
}

// ------------------------------------------------------ killed saves

int gFrozenReportFd = -1;

void ReportAndWait(int) {
    const char frozen = 'f';
    [[maybe_unused]] const ssize_t ignored = ::write(gFrozenReportFd, &frozen, 1);
    for (;;) {
        ::pause();
    }
}

// A save in a child process, stopped part-way through writing its temporary
// file: the file size limit interrupts the write there, and the child waits
// until it is killed.
class FrozenSave {
  public:
    explicit FrozenSave(const std::string& path) {
        int fds[2];
        if (::pipe(fds) != 0) {
            return;
        }
        pid_ = ::fork();
        if (pid_ == 0) {
            gFrozenReportFd = fds[1];
            struct sigaction action {};
            action.sa_handler = ReportAndWait;
            ::sigaction(SIGXFSZ, &action, nullptr);
            rlimit limit{};
            ::getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = 16;
            ::setrlimit(RLIMIT_FSIZE, &limit);
            WritePrivateProfileStringA(u"A", u"k", std::u16string(4096, u'x'), Text(path));
            ::_exit(0);
        }
        ::close(fds[1]);
        char report = 0;
        frozen_ = pid_ > 0 && ::read(fds[0], &report, 1) == 1;
        ::close(fds[0]);
    }
    ~FrozenSave() { kill(); }
    FrozenSave(const FrozenSave&) = delete;
    FrozenSave& operator=(const FrozenSave&) = delete;

    bool frozen() const { return frozen_; }
    void kill() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
    }

  private:
    pid_t pid_ = -1;
    bool frozen_ = false;
};

TEST(ProfileWrite, KilledSavesTemporaryFileGoesWithTheNextSave) {
    TempDir dir;
    const std::string path = dir.file("korvel.ini");
    WriteBytes(path, "[A]\nk=1\n");
    // Names a save must never take for the temporary file of another one.
    for (const char* name : {".korvel.ini.tmp", ".korvel.ini.x.1.tmp", ".korvel.ini.1.1.tmp.bak",
                             "korvel.ini.1.1.tmp", ".other.ini.1.1.tmp"}) {
        WriteBytes(dir.file(name), "keep");
    }
    ASSERT_EQ(::symlink("korvel.ini", dir.file(".korvel.ini.2.1.tmp").c_str()), 0);
    ASSERT_EQ(::mkdir(dir.file(".korvel.ini.3.1.tmp").c_str(), 0700), 0);
    const std::set<std::string> others = Entries(dir.path());

    FrozenSave running(path);
    ASSERT_TRUE(running.frozen());
    const std::set<std::string> withRunningSave = Entries(dir.path());
    ASSERT_EQ(withRunningSave.size(), others.size() + 1);

    // The save still running keeps its file.
    EXPECT_TRUE(WritePrivateProfileStringA(u"A", u"k", u"2", Text(path)));
    EXPECT_EQ(Entries(dir.path()), withRunningSave);

    running.kill();
    EXPECT_TRUE(WritePrivateProfileStringA(u"A", u"k", u"3", Text(path)));
    EXPECT_EQ(Entries(dir.path()), others);
    EXPECT_EQ(ReadBytes(path), "[A]\nk=3\n");
}

}  // namespace
