#include <gtest/gtest.h>

#include "platform/qt/text_box_widget.h"

namespace {

TEST(DiffText, KeepsTheUnchangedHeadAndTail) {
    struct Case {
        std::u16string before;
        std::u16string after;
        std::int32_t start;
        std::int32_t removed;
        std::u16string inserted;
    };
    const Case cases[] = {
        {u"10086", u"100186", 3, 0, u"1"}, {u"10086", u"1086", 2, 1, u""},
        {u"abc", u"abc", 3, 0, u""},       {u"", u"x", 0, 0, u"x"},
        {u"abcdef", u"aXf", 1, 4, u"X"},   {u"aa", u"aaa", 2, 0, u"a"},
    };
    for (const Case& c : cases) {
        const auto edit = platform::qt::DiffText(c.before, c.after);
        EXPECT_EQ(edit.start, c.start);
        EXPECT_EQ(edit.removed, c.removed);
        EXPECT_EQ(edit.inserted, c.inserted);
        std::u16string applied = c.before;
        applied.replace(static_cast<std::size_t>(edit.start),
                        static_cast<std::size_t>(edit.removed), edit.inserted);
        EXPECT_EQ(applied, c.after);
    }
}

}  // namespace
