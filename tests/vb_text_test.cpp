#include <gtest/gtest.h>

#include <string>

#include "console/vb_text.h"
#include "platform/utf.h"

namespace {

TEST(Val, LeadingNumberOfAText) {
    struct Case {
        std::u16string text;
        double value;
    };
    for (const Case& c :
         {Case{u"9600bps", 9600}, Case{u"9,", 9}, Case{u" 20", 20}, Case{u"2 0,99", 20},
          Case{u"\n9", 9}, Case{u"\t14,0", 14}, Case{u"", 0}, Case{u"OK", 0}, Case{u"1.5.3", 1.5},
          Case{u"-5x", -5}, Case{u"\r9", 0}, Case{u"+7", 7}}) {
        EXPECT_EQ(console::Val(c.text), c.value) << platform::ToUtf8(c.text);
    }
}

TEST(NumberText, PlainDecimalWithAFractionOnlyWhenThereIsOne) {
    struct Case {
        double value;
        std::u16string text;
    };
    for (const Case& c :
         {Case{2060, u"2060"}, Case{-1, u"-1"}, Case{0, u"0"}, Case{20.25, u"20.25"},
          Case{-12.5, u"-12.5"}, Case{static_cast<float>(460.4), u"460.4"}, Case{0.0001, u"0.0001"},
          Case{3000000000.0, u"3000000000"}}) {
        EXPECT_EQ(console::NumberText(c.value), c.text) << c.value;
    }
}

}  // namespace
