#include <gtest/gtest.h>

#include <string>

#include "platform/runtime_error.h"
#include "platform/serial_device.h"

namespace {

using platform::LineSettings;
using platform::Parity;
using platform::StopBits;

struct GoodCase {
    std::u16string text;
    LineSettings expected;
};

class SettingsAccepted : public ::testing::TestWithParam<GoodCase> {};

TEST_P(SettingsAccepted, ParsesEveryField) {
    EXPECT_EQ(platform::ParseSettings(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Strings, SettingsAccepted,
    ::testing::Values(GoodCase{u"9600,N,8,1", {9600, Parity::None, 8, StopBits::One}},
                      GoodCase{u"50,N,8,1", {50, Parity::None, 8, StopBits::One}},
                      GoodCase{u"256000,N,8,1", {256000, Parity::None, 8, StopBits::One}},
                      GoodCase{u"14400,E,7,2", {14400, Parity::Even, 7, StopBits::Two}},
                      GoodCase{u"28800,o,5,1.5", {28800, Parity::Odd, 5, StopBits::OneAndHalf}},
                      GoodCase{u"128000,M,6,1", {128000, Parity::Mark, 6, StopBits::One}},
                      GoodCase{u"300,s,8,2", {300, Parity::Space, 8, StopBits::Two}},
                      GoodCase{u"9601,n,8,1", {9601, Parity::None, 8, StopBits::One}},
                      GoodCase{u"255999,e,8,1", {255999, Parity::Even, 8, StopBits::One}}));

class SettingsRefused : public ::testing::TestWithParam<std::u16string> {};

TEST_P(SettingsRefused, RaisesInvalidPropertyValue) {
    try {
        platform::ParseSettings(GetParam());
        FAIL() << "accepted";
    } catch (const platform::RuntimeError& e) {
        EXPECT_EQ(e.number(), platform::kErrInvalidPropertyValue);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Strings, SettingsRefused,
    ::testing::Values(u"", u"9600", u"9600,N,8", u"9600,N,8,1,", u",N,8,1", u"9600,N,8,1,1",
                      u"0,N,8,1", u"49,N,8,1", u"256001,N,8,1", u"99999999999999999999,N,8,1",
                      u"-9600,N,8,1", u"+9600,N,8,1", u" 9600,N,8,1", u"9600 ,N,8,1",
                      u"9600, N,8,1", u"9600,N,8,1 ", u"96 00,N,8,1", u"9600.0,N,8,1",
                      u"9600,X,8,1", u"9600,NN,8,1", u"9600,,8,1", u"9600,N,4,1", u"9600,N,9,1",
                      u"9600,N,08,1", u"9600,N,8,0", u"9600,N,8,3", u"9600,N,8,1.0", u"9600,N,8,15",
                      u"9600;N;8;1", u"\uFF19600,N,8,1"));

}  // namespace
