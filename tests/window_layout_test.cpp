#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>

#include "console/tamsel.h"
#include "platform/form.h"
#include "tests/support/console_fixture.h"

namespace {

using test_support::WriteBytes;

template <typename Case>
std::string CaseName(const ::testing::TestParamInfo<Case>& param) {
    return param.param.name;
}

// The right-hand column as the handlers leave it.
struct Column {
    float width;      // of all three controls
    float outHeight;  // TextOut
    float barTop;     // LabelMove
    float bufTop;     // RTextBuf
    float bufHeight;
};

class WindowLayout : public test_support::ConsoleFixture {
  protected:
    // The operator (or the window manager) gives the window a new size.
    void resize(float width, float height) {
        window.viewResized({50, 50, width, height}, platform::vbNormal);
    }

    bool drag(float y, std::int16_t button = 1, std::int16_t shift = 0) {
        return runtime.mouseMove(window.LabelMove, button, shift, 0, y);
    }

    void expectColumn(const Column& c) const {
        EXPECT_EQ(window.TextOut.Width(), c.width);
        EXPECT_EQ(window.LabelMove.Width(), c.width);
        EXPECT_EQ(window.RTextBuf.Width(), c.width);
        EXPECT_EQ(window.TextOut.Height(), c.outHeight);
        EXPECT_EQ(window.LabelMove.Top(), c.barTop);
        EXPECT_EQ(window.LabelMove.Height(), 60.0f);
        EXPECT_EQ(window.RTextBuf.Top(), c.bufTop);
        EXPECT_EQ(window.RTextBuf.Height(), c.bufHeight);
        // Nothing moves the column's left edge or the send pane's top.
        EXPECT_EQ(window.TextOut.Left(), 1560.0f);
        EXPECT_EQ(window.LabelMove.Left(), 1560.0f);
        EXPECT_EQ(window.RTextBuf.Left(), 1560.0f);
        EXPECT_EQ(window.TextOut.Top(), 0.0f);
    }
};

constexpr Column kTypical{6340, 2060, 2050, 2100, 3490};  // an 8000 by 6000 window

// ---------------------------------------------------------------- resize

struct ResizeCase {
    const char* name;
    float width;
    float height;
    Column column;
};

void PrintTo(const ResizeCase& c, std::ostream* os) {
    *os << c.name;
}

class Resize : public WindowLayout, public ::testing::WithParamInterface<ResizeCase> {};

TEST_P(Resize, FitsTheColumnToTheWindow) {
    const ResizeCase& c = GetParam();
    start();
    resize(c.width, c.height);
    expectColumn(c.column);
}

const ResizeCase kResizeCases[] = {
    {"Typical", 8000, 6000, kTypical},
    {"WidthAtTheFallback", 1760, 6000, {100, 2060, 2050, 2100, 3490}},
    {"JustWider", 1761, 6000, {101, 2060, 2050, 2100, 3490}},
    {"Narrower", 900, 6000, {100, 2060, 2050, 2100, 3490}},
    {"FractionalWidth", 8000.5f, 6000, {6340.5f, 2060, 2050, 2100, 3490}},
    {"Height2000", 8000, 2000, {6340, 460, 450, 500, 1090}},
    {"Height1500", 8000, 1500, {6340, 460, 450, 500, 1090}},
    {"Tiny", 300, 200, {100, 460, 450, 500, 1090}},
    // The double 0.4 gives the single nearest 460.4; a single 0.4 would give
    // 460.40002441406250.
    {"Height2001",
     8000,
     2001,
     {6340, 460.39999389648438f, 450.39999389648438f, 500.39999389648438f, 1090.5999755859375f}},
    {"Tall", 8000, 30000, {6340, 11660, 11650, 11700, 17890}},
};

INSTANTIATE_TEST_SUITE_P(Cases, Resize, ::testing::ValuesIn(kResizeCases), CaseName<ResizeCase>);

TEST_F(WindowLayout, Height2001IsNotTheSinglePrecisionProduct) {
    start();
    resize(8000, 2001);
    EXPECT_NE(window.TextOut.Height(), 460.40002441406250f);
}

TEST_F(WindowLayout, FirstShowLaysOutTheRestoredWindow) {
    WriteBytes(folder.file("korvel.ini"), "[Point]\nWidth=9000\nHeight=7000\n");
    start();
    expectColumn({7340, 2460, 2450, 2500, 4090});
}

TEST_F(WindowLayout, FirstShowLaysOutARestoredMaximisedWindow) {
    runtime.setScreen({12000, 9000});
    WriteBytes(folder.file("korvel.ini"), "[Point]\nWindowState=2\n");
    start();
    expectColumn({10340, 3260, 3250, 3300, 5290});
}

TEST_F(WindowLayout, MaximisingMinimisingAndRestoringAreResizes) {
    start();  // 8000 by 6000 on a 19200 by 10800 screen
    window.setWindowState(platform::vbMaximized);
    expectColumn({17540, 3980, 3970, 4020, 6370});
    window.setWindowState(platform::vbNormal);
    expectColumn(kTypical);
    ASSERT_TRUE(drag(330));
    window.setWindowState(platform::vbMinimized);
    expectColumn(kTypical);
}

TEST_F(WindowLayout, ResizeAfterADragRestoresTheFortyPercentBorder) {
    start();
    ASSERT_TRUE(drag(330));
    ASSERT_EQ(window.TextOut.Height(), 2360.0f);
    resize(8000, 7000);
    expectColumn({6340, 2460, 2450, 2500, 4090});
}

// ---------------------------------------------------------------- drag

struct DragCase {
    const char* name;
    float windowHeight;
    // Where the pointer is, in the coordinates of the controls' Top.
    double pointer;
    std::int16_t button;
    std::int16_t shift;
    Column column;  // the window is 8000 wide: widths stay 6340
};

void PrintTo(const DragCase& c, std::ostream* os) {
    *os << c.name;
}

class Drag : public WindowLayout, public ::testing::WithParamInterface<DragCase> {};

TEST_P(Drag, MovesTheBorderOrPutsTheBarBack) {
    const DragCase& c = GetParam();
    start();
    resize(8000, c.windowHeight);
    // Off its place, so that every move must put the bar back.
    window.LabelMove.setTop(1000);
    ASSERT_TRUE(drag(static_cast<float>(c.pointer - 1000.0), c.button, c.shift));
    expectColumn(c.column);
}

// N, the proposed border, is 20 above the pointer.
const DragCase kDragCases[] = {
    {"MiddleOfTheGapKeepsTheBorder", 6000, 2080, 1, 0, kTypical},
    {"Down300", 6000, 2380, 1, 0, {6340, 2360, 2350, 2400, 3190}},
    {"PastTheUpperLimit", 6000, 5220, 1, 0, {6340, 5000, 4990, 5040, 550}},
    {"AtTheUpperLimit", 6000, 5020, 1, 0, {6340, 5000, 4990, 5040, 550}},
    {"AtTheFloor", 6000, 620, 1, 0, {6340, 600, 590, 640, 4950}},
    {"AboveTheWindow", 6000, -3000, 1, 0, {6340, 600, 590, 640, 4950}},
    {"JustAboveTheFloor", 6000, 621, 1, 0, {6340, 601, 591, 641, 4949}},
    // Whole numbers: nearest, a half to the even neighbour.
    {"HalfDownToEven", 6000, 2080.5, 1, 0, kTypical},
    {"HalfUpToEven", 6000, 2081.5, 1, 0, {6340, 2062, 2052, 2102, 3488}},
    {"LowerPaneHalfDownToEven", 6000.5f, 2080, 1, 0, {6340, 2060, 2050, 2100, 3490}},
    {"LowerPaneHalfUpToEven", 6000.5f, 2081, 1, 0, {6340, 2061, 2051, 2101, 3490}},
    // The clamped branch keeps the fraction and does not round.
    {"ClampKeepsTheFraction", 6000.5f, 5500, 1, 0, {6340, 5000.5f, 4990.5f, 5040.5f, 550}},
    {"LowWindowUnderTheFloor", 1800, 480, 1, 0, {6340, 600, 590, 640, 750}},
    // Where H - 1000 is below 600 the limit comes first.
    {"LimitBelowTheFloor", 1300, 480, 1, 0, {6340, 300, 290, 340, 550}},
    {"AtALimitBelowTheFloor", 1300, 320, 1, 0, {6340, 600, 590, 640, 250}},
    // The floor would push the lower pane past the bottom: it gets no height.
    {"LowerPaneWouldBeNegative", 1040, 40, 1, 0, {6340, 600, 590, 640, 0}},
    {"LowerPaneExactlyNothing", 1050, 40, 1, 0, {6340, 600, 590, 640, 0}},
    {"LowerPaneOneLeft", 1051, 40, 1, 0, {6340, 600, 590, 640, 1}},
    {"JustOver1000", 1001, 2, 1, 0, {6340, 600, 590, 640, 0}},
    // Other buttons, modifiers, hovering, a window too low: the border stays.
    {"RightButton", 6000, 2380, 2, 0, kTypical},
    {"BothButtons", 6000, 2380, 3, 0, kTypical},
    {"Hover", 6000, 2380, 0, 0, kTypical},
    {"WithShift", 6000, 2380, 1, 1, kTypical},
    {"WithCtrl", 6000, 2380, 1, 2, kTypical},
    {"WithAlt", 6000, 2380, 1, 4, kTypical},
    {"Window1000High", 1000, 900, 1, 0, {6340, 460, 450, 500, 1090}},
};

INSTANTIATE_TEST_SUITE_P(Cases, Drag, ::testing::ValuesIn(kDragCases), CaseName<DragCase>);

TEST_F(WindowLayout, EachMoveFollowsThePointerFromTheBarWhereItIsNow) {
    start();
    ASSERT_TRUE(drag(330));  // bar from 2050 to 2350
    ASSERT_TRUE(drag(330));  // and on by another 300
    expectColumn({6340, 2660, 2650, 2700, 2890});
    ASSERT_TRUE(drag(-270));
    expectColumn({6340, 2360, 2350, 2400, 3190});
}

TEST_F(WindowLayout, DisabledWindowTakesNoDrag) {
    start();
    window.setEnabled(false);
    EXPECT_FALSE(drag(330));
    expectColumn(kTypical);
}

}  // namespace
