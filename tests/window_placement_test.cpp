#include "platform/window_placement.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>

#include "platform/form.h"
#include "platform/headless/headless_runtime.h"

namespace {

struct PlacementCase {
    const char* name;
    bool topMostBefore;
    std::int32_t insertAfter;
    std::uint32_t flags;
    bool topMostAfter;
    platform::Rect boundsAfter;
};

void PrintTo(const PlacementCase& c, std::ostream* os) {
    *os << c.name;
}

class SetWindowPosTest : public ::testing::TestWithParam<PlacementCase> {};

constexpr platform::Rect kStart{600, 450, 4000, 3000};
constexpr std::uint32_t kKeepPlace = platform::SWP_NOSIZE | platform::SWP_NOMOVE;

TEST_P(SetWindowPosTest, PlacesTheWindow) {
    const PlacementCase& c = GetParam();
    platform::HeadlessRuntime runtime;
    platform::Form window(runtime, u"w");
    window.setLeft(kStart.left);
    window.setTop(kStart.top);
    window.setWidth(kStart.width);
    window.setHeight(kStart.height);
    window.setTopMost(c.topMostBefore);
    window.Show();

    EXPECT_NE(platform::SetWindowPos(window, c.insertAfter, 30, 60, 900, 700, c.flags), 0);
    EXPECT_EQ(window.TopMost(), c.topMostAfter);
    EXPECT_EQ(window.normalBounds(), c.boundsAfter);
}

const PlacementCase kCases[] = {
    {"TopmostInPlace", false, platform::HWND_TOPMOST, kKeepPlace, true, kStart},
    {"TopmostAgain", true, platform::HWND_TOPMOST, kKeepPlace, true, kStart},
    {"NoLongerTopmost", true, platform::HWND_NOTOPMOST, kKeepPlace, false, kStart},
    {"ToTheBottom", true, platform::HWND_BOTTOM, kKeepPlace, false, kStart},
    {"ToTheTopKeepsTopmost", true, platform::HWND_TOP, kKeepPlace, true, kStart},
    {"ToTheTopStaysOrdinary", false, platform::HWND_TOP, kKeepPlace, false, kStart},
    {"OrderLeftAlone", false, platform::HWND_TOPMOST, kKeepPlace | platform::SWP_NOZORDER, false,
     kStart},
    {"Moved", false, platform::HWND_TOPMOST, platform::SWP_NOSIZE, true, {30, 60, 4000, 3000}},
    {"Sized", false, platform::HWND_TOPMOST, platform::SWP_NOMOVE, true, {600, 450, 900, 700}},
    {"MovedAndSized", true, platform::HWND_NOTOPMOST, 0, false, {30, 60, 900, 700}},
};

INSTANTIATE_TEST_SUITE_P(Cases, SetWindowPosTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<PlacementCase>& param) {
                             return std::string(param.param.name);
                         });

}  // namespace
