#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "about/about_box_opener.h"
#include "about/frm_about.h"
#include "device_commands/module_tests.h"
#include "platform/controls.h"
#include "platform/form.h"
#include "platform/headless/headless_runtime.h"
#include "tests/support/console_fixture.h"

namespace {

using about::frmAbout;

// Counts the times the box was made topmost, as a real window would see it.
class TopMostWatch : public platform::FormView {
  public:
    void formChanged(platform::FormProperty property) override {
        if (property == platform::FormProperty::TopMost) {
            ++changes;
        }
    }
    int changes = 0;
};

class AboutBox : public test_support::ConsoleFixture {
  protected:
    AboutBox() { start(); }

    // The box after a double-click on the main window's background.
    frmAbout& openBox() {
        EXPECT_TRUE(runtime.doubleClickBackground(window));
        frmAbout* box = opener.box();
        if (box == nullptr) {
            throw std::runtime_error("no About box");
        }
        return *box;
    }

    about::AboutBoxOpener opener{window};
};

// ------------------------------------------------------------ the design

TEST_F(AboutBox, IsAFixedDialogWithACloseBoxOnly) {
    frmAbout box(runtime);
    EXPECT_EQ(box.BorderStyle(), platform::vbFixedDialog);
    EXPECT_FALSE(box.MinButton());
    EXPECT_FALSE(box.MaxButton());
    EXPECT_FALSE(box.ShowInTaskbar());
    EXPECT_TRUE(box.Icon().empty());
    EXPECT_EQ(box.ScaleWidth(), 5730);
    EXPECT_EQ(box.ScaleHeight(), 3195);
    // Created, but neither loaded nor shown, and nothing filled in yet.
    EXPECT_FALSE(box.loaded());
    EXPECT_FALSE(box.Visible());
    EXPECT_FALSE(box.TopMost());
    EXPECT_EQ(box.lblTitle.Caption(), u"");
    EXPECT_EQ(box.lblVersion.Caption(), u"");
}

struct LabelDesign {
    const char* name;
    platform::Label frmAbout::*label;
    float left, top, width, height;
    std::int16_t tabIndex;
    platform::Font font;
    platform::Color foreColor;
};

void PrintTo(const LabelDesign& c, std::ostream* os) {
    *os << c.name;
}

class AboutBoxLabel : public ::testing::TestWithParam<LabelDesign> {};

TEST_P(AboutBoxLabel, StandsWhereDesigned) {
    const LabelDesign& c = GetParam();
    platform::HeadlessRuntime runtime;
    frmAbout box(runtime);
    const platform::Label& label = box.*c.label;
    EXPECT_EQ(label.Left(), c.left);
    EXPECT_EQ(label.Top(), c.top);
    EXPECT_EQ(label.Width(), c.width);
    EXPECT_EQ(label.Height(), c.height);
    EXPECT_EQ(label.TabIndex(), c.tabIndex);
    EXPECT_EQ(label.Font(), c.font);
    EXPECT_EQ(label.ForeColor(), c.foreColor);
    EXPECT_EQ(label.BackColor(), platform::kButtonFaceColor);
    EXPECT_EQ(label.BorderStyle(), 0);
}

const platform::Font kSongTi105{u"宋体", 10.5F, 400, 134};

const LabelDesign kLabels[] = {
    {"Label1", &frmAbout::Label1, 1080, 1860, 3375, 315, 4, kSongTi105, 0x000000},
    {"lblDescription", &frmAbout::lblDescription, 1020, 1560, 3165, 225, 1, kSongTi105, 0x000000},
    {"lblTitle",
     &frmAbout::lblTitle,
     1320,
     360,
     3045,
     480,
     2,
     {u"宋体", 24.0F, 700, 134},
     0x0000FF},
    {"lblVersion",
     &frmAbout::lblVersion,
     1080,
     1200,
     3885,
     225,
     3,
     {u"宋体", 12.0F, 400, 134},
     0x000000},
};

INSTANTIATE_TEST_SUITE_P(Design, AboutBoxLabel, ::testing::ValuesIn(kLabels),
                         [](const ::testing::TestParamInfo<LabelDesign>& param) {
                             return std::string(param.param.name);
                         });

TEST_F(AboutBox, OkIsTheDefaultAndCancelButtonAndTheOnlyStopOfTheFocus) {
    frmAbout box(runtime);
    EXPECT_EQ(box.cmdOK.Caption(), u"确定");
    EXPECT_EQ(box.cmdOK.Left(), 840);
    EXPECT_EQ(box.cmdOK.Top(), 2640);
    EXPECT_EQ(box.cmdOK.Width(), 1500);
    EXPECT_EQ(box.cmdOK.Height(), 345);
    EXPECT_EQ(box.cmdOK.TabIndex(), 0);
    EXPECT_EQ(box.cmdOK.Font(), platform::Font{});
    EXPECT_TRUE(box.cmdOK.Default());
    EXPECT_TRUE(box.cmdOK.Cancel());
    box.Show();
    EXPECT_EQ(box.tabOrder(), std::vector<platform::Control*>{&box.cmdOK});
}

TEST_F(AboutBox, ContactLinesAreFixedNeutralTexts) {
    frmAbout& box = openBox();
    for (const platform::Label* line : {&box.lblDescription, &box.Label1}) {
        EXPECT_FALSE(line->Caption().empty());
    }
    EXPECT_NE(box.lblDescription.Caption(), box.Label1.Caption());
    const frmAbout fresh(runtime);
    EXPECT_EQ(box.lblDescription.Caption(), fresh.lblDescription.Caption());
    EXPECT_EQ(box.Label1.Caption(), fresh.Label1.Caption());
}

TEST_F(AboutBox, TwoLinesDrawAnEtchedRuleGreyFirst) {
    frmAbout box(runtime);
    platform::Line& white = box.Line1(0);
    platform::Line& grey = box.Line1(1);
    EXPECT_EQ(white.Index(), 0);
    EXPECT_EQ(grey.Index(), 1);
    EXPECT_EQ(white.Name(), u"Line1");
    EXPECT_EQ(grey.Name(), u"Line1");

    EXPECT_EQ((std::vector<float>{grey.X1(), grey.Y1(), grey.X2(), grey.Y2()}),
              (std::vector<float>{90, 2445, 5654, 2445}));
    EXPECT_EQ(grey.BorderColor(), 0x808080u);
    EXPECT_EQ(grey.BorderWidth(), 1);
    EXPECT_EQ(grey.BorderStyle(), 6);
    EXPECT_EQ((std::vector<float>{white.X1(), white.Y1(), white.X2(), white.Y2()}),
              (std::vector<float>{105, 2460, 5654, 2460}));
    EXPECT_EQ(white.BorderColor(), 0xFFFFFFu);
    EXPECT_EQ(white.BorderWidth(), 2);
    EXPECT_EQ(white.BorderStyle(), 1);

    // Views draw in the window's order: the white line must come over the grey one.
    const auto& controls = box.controls();
    const auto at = [&controls](const platform::Control* c) {
        return std::find(controls.begin(), controls.end(), c) - controls.begin();
    };
    EXPECT_LT(at(&grey), at(&white));
}

// ------------------------------------------------------------ opening

TEST_F(AboutBox, DoubleClickOnTheBackgroundShowsItTopmostAndModeless) {
    EXPECT_EQ(opener.box(), nullptr);
    frmAbout& box = openBox();
    EXPECT_TRUE(box.loaded());
    EXPECT_TRUE(box.Visible());
    EXPECT_TRUE(box.TopMost());
    EXPECT_EQ(box.Caption(), u"关于 Korvel");
    EXPECT_EQ(box.lblTitle.Caption(), u"Korvel");
    EXPECT_EQ(box.lblVersion.Caption(), u"版本 1.0.4");
    EXPECT_EQ(box.ActiveControl(), &box.cmdOK);
    // Topmost without being moved or sized.
    EXPECT_EQ(box.ScaleWidth(), 5730);
    EXPECT_EQ(box.ScaleHeight(), 3195);
    EXPECT_EQ(box.Left(), frmAbout(runtime).Left());
    EXPECT_EQ(box.Top(), frmAbout(runtime).Top());
    // The main window keeps taking input beside it.
    EXPECT_TRUE(window.acceptsInput());
    EXPECT_TRUE(runtime.pick(window.ComboSpeed, 3));
    EXPECT_EQ(window.ComboSpeed.ListIndex(), 3);
    EXPECT_FALSE(window.TopMost());
}

struct ControlCase {
    const char* name;
    std::function<platform::Control&(console::Tamsel&)> control;
};

void PrintTo(const ControlCase& c, std::ostream* os) {
    *os << c.name;
}

class DoubleClickOnControl : public test_support::ConsoleFixture,
                             public ::testing::WithParamInterface<ControlCase> {};

TEST_P(DoubleClickOnControl, OpensNothing) {
    start();
    about::AboutBoxOpener opener(window);
    EXPECT_TRUE(runtime.doubleClick(GetParam().control(window)));
    EXPECT_EQ(opener.box(), nullptr);
}

const ControlCase kControls[] = {
    {"Button", [](console::Tamsel& w) -> platform::Control& { return w.ComVersion; }},
    {"KeypadButton", [](console::Tamsel& w) -> platform::Control& { return w.ComDial[4]; }},
    {"Label", [](console::Tamsel& w) -> platform::Control& { return w.LabelDSR; }},
    {"Splitter", [](console::Tamsel& w) -> platform::Control& { return w.LabelMove; }},
    {"TextBox", [](console::Tamsel& w) -> platform::Control& { return w.TextNumber; }},
    {"ReceivePane", [](console::Tamsel& w) -> platform::Control& { return w.RTextBuf; }},
    {"List", [](console::Tamsel& w) -> platform::Control& { return w.ComboPort; }},
};

INSTANTIATE_TEST_SUITE_P(MainWindow, DoubleClickOnControl, ::testing::ValuesIn(kControls),
                         [](const ::testing::TestParamInfo<ControlCase>& param) {
                             return std::string(param.param.name);
                         });

TEST_F(AboutBox, NoDoubleClickReachesTheMainWindowDuringAnExchange) {
    device_commands::ModuleTests tests(window);
    ConsoleFixture::open(0, 9);
    std::optional<bool> taken;
    std::optional<bool> disabled;
    line().setPeer([&](platform::Micros, std::string_view, const platform::LineSettings&) {
        if (!taken) {
            disabled = !window.Enabled();
            taken = runtime.doubleClickBackground(window);
        }
    });
    ASSERT_TRUE(runtime.click(window.Command1));
    ASSERT_TRUE(taken.has_value()) << "the exchange sent nothing";
    EXPECT_TRUE(*disabled);
    EXPECT_FALSE(*taken);
    EXPECT_EQ(opener.box(), nullptr);
    // Once the exchange is over the window takes the double-click again.
    EXPECT_TRUE(runtime.doubleClickBackground(window));
    EXPECT_NE(opener.box(), nullptr);
}

TEST_F(AboutBox, SecondDoubleClickKeepsTheOneBoxAndItsTexts) {
    frmAbout& box = openBox();
    TopMostWatch watch;
    box.setView(&watch);
    runtime.App().Title = u"Renamed";
    runtime.App().Revision = 9;
    frmAbout& again = openBox();
    EXPECT_EQ(&again, &box);
    EXPECT_TRUE(box.Visible());
    EXPECT_EQ(box.Caption(), u"关于 Korvel");
    EXPECT_EQ(box.lblTitle.Caption(), u"Korvel");
    EXPECT_EQ(box.lblVersion.Caption(), u"版本 1.0.4");
    EXPECT_EQ(watch.changes, 0);
    box.setView(nullptr);
}

TEST_F(AboutBox, ADoubleClickBringsAMinimisedBoxBack) {
    frmAbout& box = openBox();
    box.setWindowState(platform::vbMinimized);
    int loads = 0;
    box.Load = [&loads] { ++loads; };
    frmAbout& again = openBox();
    EXPECT_EQ(&again, &box);
    EXPECT_EQ(box.WindowState(), platform::vbNormal);
    EXPECT_TRUE(box.Visible());
    EXPECT_EQ(loads, 0);  // shown again, not loaded again
}

struct CloseCase {
    const char* name;
    std::function<bool(platform::HeadlessRuntime&, frmAbout&)> close;
};

void PrintTo(const CloseCase& c, std::ostream* os) {
    *os << c.name;
}

class ClosingTheBox : public test_support::ConsoleFixture,
                      public ::testing::WithParamInterface<CloseCase> {};

TEST_P(ClosingTheBox, UnloadsItAndTheNextDoubleClickLoadsItAgain) {
    start();
    about::AboutBoxOpener opener(window);
    ASSERT_TRUE(runtime.doubleClickBackground(window));
    frmAbout* box = opener.box();
    ASSERT_NE(box, nullptr);
    TopMostWatch watch;
    box->setView(&watch);

    EXPECT_TRUE(GetParam().close(runtime, *box));
    EXPECT_FALSE(box->loaded());
    EXPECT_FALSE(box->Visible());
    EXPECT_TRUE(window.loaded());
    EXPECT_TRUE(window.Visible());

    runtime.App().Title = u"Bench";
    runtime.App().Major = 2;
    ASSERT_TRUE(runtime.doubleClickBackground(window));
    EXPECT_EQ(opener.box(), box);
    EXPECT_TRUE(box->loaded());
    EXPECT_TRUE(box->Visible());
    EXPECT_EQ(box->Caption(), u"关于 Bench");
    EXPECT_EQ(box->lblTitle.Caption(), u"Bench");
    EXPECT_EQ(box->lblVersion.Caption(), u"版本 2.0.4");
    EXPECT_EQ(watch.changes, 1);
    EXPECT_TRUE(box->TopMost());
    EXPECT_EQ(box->ActiveControl(), &box->cmdOK);
    box->setView(nullptr);
}

const CloseCase kClosers[] = {
    {"OkButton", [](platform::HeadlessRuntime& r, frmAbout& b) { return r.click(b.cmdOK); }},
    {"Enter", [](platform::HeadlessRuntime& r, frmAbout& b) { return r.pressEnter(b); }},
    {"Escape", [](platform::HeadlessRuntime& r, frmAbout& b) { return r.pressEscape(b); }},
    {"CloseBox", [](platform::HeadlessRuntime& r, frmAbout& b) { return r.close(b); }},
};

INSTANTIATE_TEST_SUITE_P(By, ClosingTheBox, ::testing::ValuesIn(kClosers),
                         [](const ::testing::TestParamInfo<CloseCase>& param) {
                             return std::string(param.param.name);
                         });

TEST_F(AboutBox, StaysOpenWhenTheMainWindowCloses) {
    frmAbout& box = openBox();
    ASSERT_TRUE(runtime.close(window));
    EXPECT_FALSE(window.loaded());
    EXPECT_TRUE(box.loaded());
    EXPECT_TRUE(box.Visible());
}

// ------------------------------------------------------------ texts set at load

struct LoadCase {
    const char* name;
    std::u16string title;
    std::int16_t major, minor, revision;
    std::u16string caption;
    std::u16string version;
};

void PrintTo(const LoadCase& c, std::ostream* os) {
    *os << c.name;
}

class LoadTexts : public ::testing::TestWithParam<LoadCase> {};

TEST_P(LoadTexts, FillCaptionVersionAndTitle) {
    const LoadCase& c = GetParam();
    platform::HeadlessRuntime runtime;
    runtime.App().Title = c.title;
    runtime.App().Major = c.major;
    runtime.App().Minor = c.minor;
    runtime.App().Revision = c.revision;
    frmAbout box(runtime);
    box.Show();
    EXPECT_EQ(box.Caption(), c.caption);
    EXPECT_EQ(box.lblVersion.Caption(), c.version);
    EXPECT_EQ(box.lblTitle.Caption(), c.title);
}

const LoadCase kLoadCases[] = {
    {"Release", u"Korvel", 1, 0, 4, u"关于 Korvel", u"版本 1.0.4"},
    {"TwoDigitParts", u"Korvel", 2, 10, 15, u"关于 Korvel", u"版本 2.10.15"},
    {"RevisionZero", u"Korvel", 3, 1, 0, u"关于 Korvel", u"版本 3.1.0"},
    {"AllZero", u"Korvel", 0, 0, 0, u"关于 Korvel", u"版本 0.0.0"},
    {"LargeNumbers", u"Korvel", 9999, 99, 9999, u"关于 Korvel", u"版本 9999.99.9999"},
    {"ChineseTitle", u"设备测试程序", 1, 0, 4, u"关于 设备测试程序", u"版本 1.0.4"},
    {"TitleWithBlanks", u"  Korvel ", 1, 0, 4, u"关于   Korvel ", u"版本 1.0.4"},
    {"EmptyTitle", u"", 1, 0, 4, u"关于 ", u"版本 1.0.4"},
};

INSTANTIATE_TEST_SUITE_P(Cases, LoadTexts, ::testing::ValuesIn(kLoadCases),
                         [](const ::testing::TestParamInfo<LoadCase>& param) {
                             return std::string(param.param.name);
                         });

}  // namespace
