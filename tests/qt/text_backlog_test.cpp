#include "platform/qt/text_backlog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using platform::qt::TextBacklog;

struct Edit {
    std::int32_t start;
    std::int32_t removed;
    std::u16string inserted;
};

// Applies the edits to `shown` as a pane would, then brings a copy of the
// shown text up to date the way the backlog says: it must come out as the
// pane's text.
std::u16string Caught(const std::u16string& shown, const std::vector<Edit>& edits,
                      TextBacklog& backlog) {
    backlog.clear(static_cast<std::int32_t>(shown.size()));
    std::u16string text = shown;
    for (const Edit& e : edits) {
        text.replace(static_cast<std::size_t>(e.start), static_cast<std::size_t>(e.removed),
                     e.inserted);
        backlog.replaced(e.start, e.removed, static_cast<std::int32_t>(e.inserted.size()));
    }
    std::u16string caught = shown.substr(static_cast<std::size_t>(backlog.dropped()));
    caught.replace(static_cast<std::size_t>(backlog.kept()), std::u16string::npos,
                   text.substr(static_cast<std::size_t>(backlog.kept())));
    EXPECT_EQ(caught, text);
    return text;
}

TEST(TextBacklog, KeepsWhatStillStandsAndCutsTheHeadAsARemoval) {
    struct Case {
        const char* name;
        std::vector<Edit> edits;
        std::int32_t dropped;
        std::int32_t kept;
    };
    const std::u16string shown = u"0123456789";
    const std::vector<Case> cases = {
        {"appends", {{10, 0, u"ab"}, {12, 0, u"cd"}}, 0, 10},
        {"trim, then append", {{0, 6, u""}, {4, 0, u"xy"}}, 6, 4},
        {"append, then trim", {{10, 0, u"xy"}, {0, 6, u""}}, 6, 4},
        {"two trims", {{0, 3, u""}, {0, 2, u""}}, 5, 5},
        {"a trim into appended text", {{10, 0, u"xyz"}, {0, 11, u""}}, 0, 0},
        {"an edit inside", {{4, 2, u"Q"}, {9, 0, u"!"}}, 0, 4},
        {"a trim after an edit inside", {{8, 1, u""}, {0, 3, u""}}, 3, 5},
        {"text set anew", {{0, 10, u"new"}}, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TextBacklog backlog;
        Caught(shown, c.edits, backlog);
        EXPECT_FALSE(backlog.empty());
        EXPECT_EQ(backlog.dropped(), c.dropped);
        EXPECT_EQ(backlog.kept(), c.kept);
    }
}

TEST(TextBacklog, IsEmptyUntilTheTextChangesAndAllAfterReplaceAll) {
    TextBacklog backlog;
    backlog.clear(5);
    EXPECT_TRUE(backlog.empty());
    EXPECT_EQ(backlog.kept(), 5);
    backlog.replaced(0, 2, 0);
    backlog.replaceAll();
    EXPECT_FALSE(backlog.empty());
    EXPECT_EQ(backlog.dropped(), 0);
    EXPECT_EQ(backlog.kept(), 0);
}

}  // namespace
