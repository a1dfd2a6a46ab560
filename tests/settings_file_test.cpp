#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

#include "console/public_mod.h"
#include "console/tamsel.h"
#include "platform/form.h"
#include "platform/private_profile.h"
#include "platform/utf.h"
#include "tests/support/console_fixture.h"
#include "tests/support/temp_dir.h"

namespace {

using platform::Rect;
using test_support::ReadBytes;
using test_support::WriteBytes;

template <typename Case>
std::string CaseName(const ::testing::TestParamInfo<Case>& param) {
    return param.param.name;
}

class SettingsFile : public test_support::ConsoleFixture {
  protected:
    std::string iniPath() const { return folder.file("korvel.ini"); }
    void store(const std::string& text) { WriteBytes(iniPath(), text); }
    std::string saved() const { return ReadBytes(iniPath()).value_or("<no file>"); }
    // A saved value as text, read with a buffer large enough for any of them.
    std::u16string savedValue(std::u16string_view section, std::u16string_view key) const {
        return platform::GetPrivateProfileStringA(section, key, u"<missing>", 2000,
                                                  platform::FromUtf8(iniPath()));
    }
};

// ---------------------------------------------------------------- restore

struct RestoreCase {
    const char* name;
    std::optional<std::string> file;  // nothing: no settings file
    platform::ScreenSize screen;
    std::int16_t port;
    std::int16_t speed;
    Rect bounds;  // the normal window's left, top, width, height
    std::int16_t state;
    std::u16string settings = u"1200,N,8,1";  // what the speed list's handler wrote
};

void PrintTo(const RestoreCase& c, std::ostream* os) {
    *os << c.name;
}

constexpr platform::ScreenSize kScreen{19200, 10800};
constexpr Rect kDefaultBounds{50, 50, 8000, 6000};

class Restore : public SettingsFile, public ::testing::WithParamInterface<RestoreCase> {};

TEST_P(Restore, SelectsAndPlacesWhatTheFileHolds) {
    const RestoreCase& c = GetParam();
    if (c.file) {
        store(*c.file);
    }
    runtime.setScreen(c.screen);
    start();
    EXPECT_EQ(window.ComboPort.ListIndex(), c.port);
    EXPECT_EQ(window.ComboSpeed.ListIndex(), c.speed);
    EXPECT_EQ(window.normalBounds(), c.bounds);
    EXPECT_EQ(window.WindowState(), c.state);
    EXPECT_EQ(window.MSComm.Settings(), c.settings);
    EXPECT_TRUE(runtime.messages().empty());
    EXPECT_FALSE(window.MSComm.PortOpen());
}

// Keys a case leaves out read 50, which gives the defaults.
const RestoreCase kRestoreCases[] = {
    {"NoFile", std::nullopt, kScreen, 0, 6, kDefaultBounds, platform::vbNormal},
    {"EmptySections", "[TamselSet]\n[Point]\n", kScreen, 0, 6, kDefaultBounds, platform::vbNormal},
    {"EveryKey",
     "[TamselSet]\nPort=2\nSpeed=9\n[Point]\nTop=300\nLeft=400\nWidth=9000\nHeight=7000\n"
     "WindowState=0\n",
     kScreen,
     2,
     9,
     {400, 300, 9000, 7000},
     platform::vbNormal,
     u"9600,N,8,1"},
    {"LastPort", "[TamselSet]\nPort=5\n", kScreen, 5, 6, kDefaultBounds, platform::vbNormal},
    {"PortPastTheList", "[TamselSet]\nPort=6\n", kScreen, 0, 6, kDefaultBounds, platform::vbNormal},
    {"PortMinusOne", "[TamselSet]\nPort=-1\n", kScreen, -1, 6, kDefaultBounds, platform::vbNormal},
    {"PortBelowMinusOne", "[TamselSet]\nPort=-2\n", kScreen, -1, 6, kDefaultBounds,
     platform::vbNormal},
    {"PortBelowSixteenBits", "[TamselSet]\nPort=-40000\n", kScreen, -1, 6, kDefaultBounds,
     platform::vbNormal},
    {"PortWithInlineComment", "[TamselSet]\nPort=5    ; COM 6\n", kScreen, 5, 6, kDefaultBounds,
     platform::vbNormal},
    {"LastSpeed", "[TamselSet]\nSpeed=17\n", kScreen, 0, 17, kDefaultBounds, platform::vbNormal,
     u"256000,N,8,1"},
    {"SpeedPastTheList", "[TamselSet]\nSpeed=18\n", kScreen, 0, 6, kDefaultBounds,
     platform::vbNormal},
    // No selection runs no handler: the control keeps its own settings.
    {"SpeedMinusOne", "[TamselSet]\nSpeed=-1\n", kScreen, 0, -1, kDefaultBounds, platform::vbNormal,
     u"9600,N,8,1"},
    {"SpeedBelowMinusOne", "[TamselSet]\nSpeed=-7\n", kScreen, 0, -1, kDefaultBounds,
     platform::vbNormal, u"9600,N,8,1"},
    {"FirstSpeed", "[TamselSet]\nSpeed=0\n", kScreen, 0, 0, kDefaultBounds, platform::vbNormal,
     u"50,N,8,1"},
    {"TopAtItsLimit",
     "[Point]\nTop=9800\n",
     kScreen,
     0,
     6,
     {50, 9800, 8000, 6000},
     platform::vbNormal},
    {"TopPastItsLimit",
     "[Point]\nTop=9801\n",
     kScreen,
     0,
     6,
     {50, 2160, 8000, 6000},
     platform::vbNormal},
    {"TopNegative", "[Point]\nTop=-1\n", kScreen, 0, 6, {50, 0, 8000, 6000}, platform::vbNormal},
    {"LeftAtItsLimit",
     "[Point]\nLeft=17700\n",
     kScreen,
     0,
     6,
     {17700, 50, 8000, 6000},
     platform::vbNormal},
    {"LeftPastItsLimit",
     "[Point]\nLeft=17701\n",
     kScreen,
     0,
     6,
     {3840, 50, 8000, 6000},
     platform::vbNormal},
    {"LeftNegative",
     "[Point]\nLeft=-300\n",
     kScreen,
     0,
     6,
     {0, 50, 8000, 6000},
     platform::vbNormal},
    // A fifth of the screen with a half goes to the even neighbour.
    {"FifthRoundsHalfDownToEven",
     "[Point]\nTop=20000\nLeft=20000\n",
     {17702.5, 10802.5},
     0,
     6,
     {3540, 2160, 8000, 6000},
     platform::vbNormal},
    {"FifthRoundsHalfUpToEven",
     "[Point]\nTop=20000\nLeft=20000\n",
     {17707.5, 10807.5},
     0,
     6,
     {3542, 2162, 8000, 6000},
     platform::vbNormal},
    // On a tiny screen the order of the two tests shows: Top is bounded by
    // the screen first and by 0 last, Left the other way round.
    {"TinyScreenNegativePlace",
     "[Point]\nTop=-100\nLeft=-100\n",
     {1400, 900},
     0,
     6,
     {280, 0, 8000, 6000},
     platform::vbNormal},
    {"SmallScreenDefaultPlace",
     std::nullopt,
     {1540, 1040},
     0,
     6,
     {308, 208, 8000, 6000},
     platform::vbNormal},
    {"WidthAtItsMinimum",
     "[Point]\nWidth=3000\n",
     kScreen,
     0,
     6,
     {50, 50, 3000, 6000},
     platform::vbNormal},
    {"WidthBelowItsMinimum", "[Point]\nWidth=2999\n", kScreen, 0, 6, kDefaultBounds,
     platform::vbNormal},
    {"WidthNegative", "[Point]\nWidth=-3000\n", kScreen, 0, 6, kDefaultBounds, platform::vbNormal},
    {"WidthBeyondTheScreen",
     "[Point]\nWidth=50000\n",
     kScreen,
     0,
     6,
     {50, 50, 50000, 6000},
     platform::vbNormal},
    {"HeightAtItsMinimum",
     "[Point]\nHeight=1500\n",
     kScreen,
     0,
     6,
     {50, 50, 8000, 1500},
     platform::vbNormal},
    {"HeightBelowItsMinimum", "[Point]\nHeight=1499\n", kScreen, 0, 6, kDefaultBounds,
     platform::vbNormal},
    {"HeightBeyondTheScreen",
     "[Point]\nHeight=40000\n",
     kScreen,
     0,
     6,
     {50, 50, 8000, 40000},
     platform::vbNormal},
    {"StateNormal", "[Point]\nWindowState=0\n", kScreen, 0, 6, kDefaultBounds, platform::vbNormal},
    {"StateMinimisedComesBackNormal", "[Point]\nWindowState=1\n", kScreen, 0, 6, kDefaultBounds,
     platform::vbNormal},
    {"StateMaximised", "[Point]\nWindowState=2\n", kScreen, 0, 6, kDefaultBounds,
     platform::vbMaximized},
    {"StateThree", "[Point]\nWindowState=3\n", kScreen, 0, 6, kDefaultBounds, platform::vbNormal},
    {"StateNegative", "[Point]\nWindowState=-1\n", kScreen, 0, 6, kDefaultBounds,
     platform::vbNormal},
    // 65538 would be a 2 if it were cut to 16 bits.
    {"StateBeyondSixteenBits", "[Point]\nWindowState=65538\n", kScreen, 0, 6, kDefaultBounds,
     platform::vbNormal},
    {"CrLfFileWithBlanks",
     "[ tamselset ]\r\n Port = 3 \r\n[POINT]\r\n top\t=\t120\r\n",
     kScreen,
     3,
     6,
     {50, 120, 8000, 6000},
     platform::vbNormal},
};

INSTANTIATE_TEST_SUITE_P(Cases, Restore, ::testing::ValuesIn(kRestoreCases), CaseName<RestoreCase>);

TEST_F(SettingsFile, RestoreDoesNotRewriteTheFile) {
    const std::string text = "; kept\n[TamselSet]\nPort=7\n";
    store(text);
    start();
    EXPECT_EQ(saved(), text);
}

// ---------------------------------------------------------------- save

TEST_F(SettingsFile, FirstCloseWritesAllSevenKeys) {
    start();
    window.Unload();
    EXPECT_FALSE(window.loaded());
    EXPECT_EQ(saved(),
              "[TamselSet]\nPort=0\nSpeed=6\n\n[Point]\nTop=50\nLeft=50\nWidth=8000\n"
              "Height=6000\nWindowState=0\n");
}

TEST_F(SettingsFile, SavesTheListsAndThePlacementAtClosing) {
    store("; Korvel\r\n[TamselSet]\r\nPort=1\r\nSpeed=2\r\n\r\n[Point]\r\nTop=10\r\n");
    start();
    ASSERT_TRUE(runtime.pick(window.ComboPort, 4));
    ASSERT_TRUE(runtime.pick(window.ComboSpeed, 15));
    window.viewResized({700, 600, 9100, 7200}, platform::vbNormal);
    window.Unload();
    EXPECT_EQ(saved(),
              "; Korvel\r\n[TamselSet]\r\nPort=4\r\nSpeed=15\r\n\r\n[Point]\r\nTop=600\r\n"
              "Left=700\r\nWidth=9100\r\nHeight=7200\r\nWindowState=0\r\n");
}

TEST_F(SettingsFile, NoSelectionIsWrittenBackAsMinusOne) {
    store("[TamselSet]\nPort=-1\nSpeed=-1\n");
    start();
    window.Unload();
    EXPECT_EQ(savedValue(u"TamselSet", u"Port"), u"-1");
    EXPECT_EQ(savedValue(u"TamselSet", u"Speed"), u"-1");
}

TEST_F(SettingsFile, ClosingMaximisedSavesTheNormalPlacementThenTheState) {
    store("[Point]\nTop=300\nLeft=400\nWidth=9000\nHeight=7000\nWindowState=2\n");
    start();
    ASSERT_EQ(window.WindowState(), platform::vbMaximized);
    ASSERT_EQ(window.Width(), kScreen.Width);
    window.Unload();
    EXPECT_EQ(window.WindowState(), platform::vbNormal);
    EXPECT_EQ(saved(),
              "[Point]\nTop=300\nLeft=400\nWidth=9000\nHeight=7000\nWindowState=2\n\n"
              "[TamselSet]\nPort=0\nSpeed=6\n");
}

TEST_F(SettingsFile, ClosingMinimisedSavesOneAndComesBackNormal) {
    start();
    window.setWindowState(platform::vbMinimized);
    window.Unload();
    EXPECT_EQ(window.WindowState(), platform::vbNormal);
    EXPECT_EQ(savedValue(u"Point", u"WindowState"), u"1");
    EXPECT_EQ(savedValue(u"Point", u"Width"), u"8000");

    console::Tamsel next(runtime, ports);
    next.Show();
    EXPECT_EQ(next.WindowState(), platform::vbNormal);
    EXPECT_EQ(next.normalBounds(), kDefaultBounds);
}

TEST_F(SettingsFile, ClosingWithThePortOpenClosesItAndLeavesTheRestAsItIs) {
    start();
    open(2, 9);
    ASSERT_TRUE(line(3).isOpen());
    window.Unload();
    EXPECT_FALSE(line(3).isOpen());
    EXPECT_FALSE(window.MSComm.PortOpen());
    // The handler only closes the device: the window's own state stays.
    EXPECT_TRUE(window.PortOpened);
    EXPECT_EQ(window.ComStartStop.Caption(), u"关 闭 端 口");
    EXPECT_EQ(savedValue(u"TamselSet", u"Port"), u"2");
    EXPECT_EQ(savedValue(u"TamselSet", u"Speed"), u"9");
}

TEST_F(SettingsFile, ClosingWithThePortClosedLeavesTheLineAlone) {
    start();
    open(0, 9);
    ASSERT_TRUE(runtime.click(window.ComStartStop));  // closed again
    const auto changes = line(1).changes().size();
    window.Unload();
    EXPECT_EQ(line(1).changes().size(), changes);
    EXPECT_EQ(line(1).openCount(), 1);
}

// The geometry is written as it stands: plain digits, a fraction only when
// the value has one.
TEST_F(SettingsFile, PlacementIsWrittenAsPlainDecimalText) {
    const struct {
        float top;
        std::u16string text;
    } cases[] = {
        {50, u"50"},
        {0, u"0"},
        {-0.0f, u"0"},
        {-15, u"-15"},
        {20.25f, u"20.25"},
        {-12.5f, u"-12.5"},
        {460.4f, u"460.4"},
        {0.0001f, u"0.0001"},
        {1234567.5f, u"1234567.5"},
        {16777216, u"16777216"},
        {3e9f, u"3000000000"},
    };
    start();
    for (const auto& c : cases) {
        window.viewResized({50, c.top, 8000, 6000}, platform::vbNormal);
        std::int16_t cancel = 0;
        window.Form_Unload(cancel);
        EXPECT_EQ(savedValue(u"Point", u"Top"), c.text) << c.top;
        EXPECT_EQ(cancel, 0);
    }
}

TEST_F(SettingsFile, RefusedSaveIsNotReportedAndTheWindowCloses) {
    // A folder where the file should be: reads give 50, writes fail.
    std::filesystem::create_directory(iniPath());
    start();
    window.Unload();
    EXPECT_FALSE(window.loaded());
    EXPECT_TRUE(runtime.messages().empty());
    EXPECT_TRUE(std::filesystem::is_directory(iniPath()));
}

// Column rule of the inline comment, through a save of "Port".
struct CommentCase {
    const char* name;
    std::string stored;        // the value text of "Port" before the run
    std::int16_t closingPort;  // -1: no selection
    std::u16string written;
};

void PrintTo(const CommentCase& c, std::ostream* os) {
    *os << c.name;
}

class InlineComment : public SettingsFile, public ::testing::WithParamInterface<CommentCase> {};

TEST_P(InlineComment, SurvivesTheSave) {
    const CommentCase& c = GetParam();
    store("[TamselSet]\nPort=" + c.stored + "\n");
    start();
    if (c.closingPort == -1) {
        window.ComboPort.setListIndex(-1);
    } else {
        ASSERT_TRUE(runtime.pick(window.ComboPort, c.closingPort));
    }
    window.Unload();
    EXPECT_EQ(savedValue(u"TamselSet", u"Port"), c.written);
}

const CommentCase kCommentCases[] = {
    // ";" at column 6: a one-character value keeps it there ...
    {"KeepsColumnSix", "1    ; COM 2", 3, u"3    ; COM 2"},
    {"SameValueKeepsColumnSix", "1    ; COM 2", 1, u"1    ; COM 2"},
    // ... a two-character one leaves four blanks and moves it to column 7.
    {"MovesToColumnSeven", "1    ; COM 2", -1, u"-1    ; COM 2"},
    // ";" at column 12 and a two-character value: nine blanks.
    {"KeepsColumnTwelve", "4" + std::string(10, ' ') + "; x", -1,
     u"-1" + std::u16string(9, u' ') + u"; x"},
    // Only a comment (";" at column 1): it reads as 50, so "COM 1" shows.
    {"OnlyAComment", "; bench port", 3, u"3    ; bench port"},
    {"NoCommentIsReplacedWhole", "3 old text", 4, u"4"},
    // Counted in characters, not bytes: the ";" is at column 6 here.
    {"DoubleByteTextCountsOne", "1 \xD6\xD0\xCE\xC4 ;c", 2, u"2    ;c"},
    // Beyond the 299 characters the ";" is not seen.
    {"CommentPastTheCutIsLost", "1" + std::string(300, 'x') + "; late", 2, u"2"},
    // A comment that starts before the cut keeps its part up to it.
    {"CommentCutAtTheLimit", "1    ;" + std::string(320, 'c'), 2,
     u"2    ;" + std::u16string(293, u'c')},
};

INSTANTIATE_TEST_SUITE_P(Cases, InlineComment, ::testing::ValuesIn(kCommentCases),
                         CaseName<CommentCase>);

TEST_F(SettingsFile, WriteIniValueAddsNoCommentOfItsOwn) {
    const platform::Application& app = runtime.App();
    console::PublicMod::WriteIniValue(app, u"Point", u"Top", u"120");
    console::PublicMod::WriteIniValue(app, u"Point", u"Top", u"130");
    EXPECT_EQ(saved(), "[Point]\nTop=130\n");
    EXPECT_EQ(console::PublicMod::ReadIniInt(app, u"Point", u"Top"), 130);
    EXPECT_EQ(console::PublicMod::ReadIniInt(app, u"Point", u"Left"), 50);
}

// ---------------------------------------------------------------- location

TEST_F(SettingsFile, RenamedExecutableReadsAndWritesItsOwnFile) {
    runtime.App().EXEName = u"bench2";
    store("[TamselSet]\nPort=1\n");
    WriteBytes(folder.file("bench2.ini"), "[TamselSet]\nPort=4\n");
    start();
    EXPECT_EQ(window.ComboPort.ListIndex(), 4);
    ASSERT_TRUE(runtime.pick(window.ComboPort, 3));
    window.Unload();
    EXPECT_EQ(saved(), "[TamselSet]\nPort=1\n");
    const std::u16string path = platform::FromUtf8(folder.file("bench2.ini"));
    EXPECT_EQ(platform::GetPrivateProfileIntA(u"TamselSet", u"Port", -9, path), 3);
}

TEST_F(SettingsFile, PathIsBuiltAnewAtEveryCall) {
    start();
    test_support::TempDir moved;
    runtime.App().Path = platform::FromUtf8(moved.path());
    runtime.App().EXEName = u"moved";
    window.Unload();
    EXPECT_FALSE(ReadBytes(iniPath()).has_value());
    const std::u16string path = platform::FromUtf8(moved.file("moved.ini"));
    EXPECT_EQ(platform::GetPrivateProfileIntA(u"Point", u"Height", -9, path), 6000);
    EXPECT_EQ(platform::GetPrivateProfileIntA(u"Point", u"WindowState", -9, path), 0);
}

TEST_F(SettingsFile, FolderEndingInASlashStillFindsTheFile) {
    runtime.App().Path = platform::FromUtf8(folder.path() + "/");
    store("[TamselSet]\nPort=2\n");
    EXPECT_EQ(console::PublicMod::SettingsPath(runtime.App()),
              platform::FromUtf8(folder.path()) + u"//korvel.ini");
    start();
    EXPECT_EQ(window.ComboPort.ListIndex(), 2);
}

TEST_F(SettingsFile, FolderWithABackslashInItsNameKeepsItsOwnFile) {
    const std::string bench = folder.file("bench\\pc");
    ASSERT_TRUE(std::filesystem::create_directory(bench));
    runtime.App().Path = platform::FromUtf8(bench);
    WriteBytes(bench + "/korvel.ini", "[TamselSet]\nPort=2\n");
    start();
    EXPECT_EQ(window.ComboPort.ListIndex(), 2);
    ASSERT_TRUE(runtime.pick(window.ComboPort, 4));
    window.Unload();
    const std::u16string path = platform::FromUtf8(bench + "/korvel.ini");
    EXPECT_EQ(platform::GetPrivateProfileIntA(u"TamselSet", u"Port", -9, path), 4);
    EXPECT_FALSE(std::filesystem::exists(folder.file("bench")));
}

// ---------------------------------------------------------------- next start

TEST_F(SettingsFile, PortSpeedAndPlacementComeBackAtTheNextStart) {
    store("[TamselSet]\nPort=0    ; bench port\n");
    start();
    ASSERT_TRUE(runtime.pick(window.ComboPort, 2));
    ASSERT_TRUE(runtime.pick(window.ComboSpeed, 13));
    window.viewResized({1200, 900, 9500, 7500}, platform::vbNormal);
    window.setWindowState(platform::vbMaximized);
    window.Unload();
    EXPECT_EQ(savedValue(u"TamselSet", u"Port"), u"2    ; bench port");

    console::Tamsel next(runtime, ports);
    next.Show();
    EXPECT_EQ(next.ComboPort.Text(), u"COM 3");
    EXPECT_EQ(next.ComboSpeed.Text(), u"38400bps");
    EXPECT_EQ(next.normalBounds(), (Rect{1200, 900, 9500, 7500}));
    EXPECT_EQ(next.WindowState(), platform::vbMaximized);
}

}  // namespace
