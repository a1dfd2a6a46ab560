#include "platform/qt/line_break_map.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

using platform::qt::DocumentForm;
using platform::qt::LineBreakMap;
using platform::qt::TextForm;

// Document length of the first `count` characters, counted the slow way.
std::int32_t DocumentLength(std::u16string_view text, std::size_t count) {
    std::int32_t length = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const bool lfOfPair = text[i] == u'\n' && i > 0 && text[i - 1] == u'\r';
        if (!lfOfPair) {
            ++length;
        }
    }
    return length;
}

bool InsidePair(std::u16string_view text, std::size_t position) {
    return position > 0 && position < text.size() && text[position - 1] == u'\r' &&
           text[position] == u'\n';
}

// Every text position and every document position agree with the slow count.
void ExpectConsistent(const LineBreakMap& map, std::u16string_view text) {
    for (std::size_t i = 0; i <= text.size(); ++i) {
        const std::int32_t expected =
            InsidePair(text, i) ? DocumentLength(text, i + 1) : DocumentLength(text, i);
        ASSERT_EQ(map.toDocument(static_cast<std::int32_t>(i)), expected) << "text position " << i;
    }
    const auto documentLength = static_cast<std::int32_t>(DocumentForm(text).size());
    ASSERT_EQ(map.toDocument(static_cast<std::int32_t>(text.size())), documentLength);
    for (std::int32_t d = 0; d <= documentLength; ++d) {
        const std::int32_t position = map.toText(d);
        ASSERT_FALSE(InsidePair(text, static_cast<std::size_t>(position))) << "document " << d;
        ASSERT_EQ(DocumentLength(text, static_cast<std::size_t>(position)), d);
    }
}

TEST(LineBreakMap, PairsFoldToOnePositionAndLoneBreaksStay) {
    struct Case {
        std::u16string text;
        std::int32_t textPosition;
        std::int32_t documentPosition;
    };
    const Case cases[] = {
        {u"a\r\nb", 1, 1}, {u"a\r\nb", 2, 2},      {u"a\r\nb", 3, 2}, {u"a\r\nb", 4, 3},
        {u"a\rb", 2, 2},   {u"a\nb", 2, 2},        {u"\n\r", 2, 2},   {u"\r\n\r\n", 4, 2},
        {u"\r\r\n", 3, 2}, {u"x\r\ny\r\nz", 7, 5},
    };
    for (const Case& c : cases) {
        LineBreakMap map;
        map.reset(c.text);
        EXPECT_EQ(map.toDocument(c.textPosition), c.documentPosition)
            << "position " << c.textPosition;
        ExpectConsistent(map, c.text);
    }
}

TEST(LineBreakMap, FollowsRandomEditsLikeAFreshMap) {
    std::mt19937 random(20261210);
    const std::u16string alphabet = u"ab\r\n";
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n)(random); };
    std::u16string text;
    LineBreakMap map;
    map.reset(text);
    for (int step = 0; step < 2000; ++step) {
        const auto size = static_cast<int>(text.size());
        const int start = pick(size);
        const int removed = pick(std::min(4, size - start));
        std::u16string inserted;
        for (int n = pick(5); n > 0; --n) {
            inserted.push_back(alphabet[static_cast<std::size_t>(pick(3))]);
        }
        text.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(removed), inserted);
        if (text.size() > 60) {
            text.erase(0, text.size() - 40);
            map.reset(text);
        } else {
            map.replaced(text, start, start + removed,
                         start + static_cast<std::int32_t>(inserted.size()));
        }
        LineBreakMap fresh;
        fresh.reset(text);
        ASSERT_EQ(map.pairCount(), fresh.pairCount()) << "step " << step;
        ExpectConsistent(map, text);
    }
}

TEST(LineBreakMap, DocumentAndTextFormsOfLineBreaks) {
    EXPECT_EQ(DocumentForm(u"a\r\nb\rc\nd"), u"a\u2029b\u2029c\u2029d");
    EXPECT_EQ(DocumentForm(u"\n\r"), u"\u2029\u2029");
    EXPECT_EQ(TextForm(u"a\u2029b\u2028c"), u"a\r\nb\r\nc");
}

}  // namespace
