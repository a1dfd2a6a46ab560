#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <string>
#include <vector>

#include "platform/qt/rich_text_widget.h"
#include "tests/qt/qt_fixture.h"

namespace {

struct Change {
    int position;
    int removed;
    int added;
    bool operator==(const Change&) const = default;
};

// The receive pane of the real main window, with a record of every document change.
class ReceivePane : public korvel_test::RealMainWindow {
  protected:
    ReceivePane() {
        view = widget<platform::qt::RichTextWidget>(window.RTextBuf);
        QObject::connect(view->document(), &QTextDocument::contentsChange,
                         [this](int p, int r, int a) {
                             changes.push_back({p, r, a});
                         });
    }
    // What the console's receive tick does: caret to the end, then write there.
    void append(std::u16string_view text) {
        window.RTextBuf.setSelStart(static_cast<std::int32_t>(window.RTextBuf.Text().size()));
        window.RTextBuf.setSelText(text);
    }
    // Code's changes reach the document at the pane's next refresh; the test
    // does not wait for it.
    void settle() { view->showPending(); }
    QString shown() const {
        view->showPending();
        return view->toPlainText();
    }

    platform::qt::RichTextWidget* view = nullptr;
    std::vector<Change> changes;
};

TEST_F(ReceivePane, LineBreaksOfEveryKindShowAsOneBreakAndTheTextKeepsThem) {
    struct Case {
        std::u16string written;
        QString shown;
        int blocks;
    };
    const Case cases[] = {
        {u"AT\r\nOK\r\n", QStringLiteral("AT\nOK\n"), 3},
        {u"A\rB\nC", QStringLiteral("A\nB\nC"), 3},
        {u"\n\r", QStringLiteral("\n\n"), 3},
        {u"x\r\r\ny", QStringLiteral("x\n\ny"), 3},
    };
    for (const Case& c : cases) {
        window.RTextBuf.setText(u"");
        append(c.written);
        EXPECT_EQ(window.RTextBuf.Text(), c.written);
        EXPECT_EQ(shown(), c.shown);
        EXPECT_EQ(view->document()->blockCount(), c.blocks);
    }
}

TEST_F(ReceivePane, AppendingEditsOnlyTheEnd) {
    std::u16string lines;
    for (int i = 0; i < 150; ++i) {
        lines += u"+CSQ: 20,99\r\n";
    }
    window.RTextBuf.setText(lines);
    settle();
    const int before = view->document()->characterCount() - 1;
    changes.clear();
    append(u"OK\r\n");
    settle();
    ASSERT_EQ(changes.size(), 1U);
    EXPECT_EQ(changes[0], (Change{before, 0, 3}));
    EXPECT_EQ(window.RTextBuf.Text(), lines + u"OK\r\n");
    EXPECT_EQ(view->textCursor().position(), before + 3);
}

TEST_F(ReceivePane, AnLfAfterACrJoinsItsLineBreak) {
    append(u"OK\r");
    settle();
    EXPECT_EQ(view->document()->blockCount(), 2);
    append(u"\nAT");
    EXPECT_EQ(window.RTextBuf.Text(), u"OK\r\nAT");
    EXPECT_EQ(shown(), QStringLiteral("OK\nAT"));
    // And a CR written between a CR and its LF splits them again.
    window.RTextBuf.setSelStart(3);
    window.RTextBuf.setSelText(u"\r");
    EXPECT_EQ(window.RTextBuf.Text(), u"OK\r\r\nAT");
    EXPECT_EQ(shown(), QStringLiteral("OK\n\nAT"));
}

TEST_F(ReceivePane, SelectionMapsAcrossFoldedPairs) {
    window.RTextBuf.setText(u"ab\r\ncd\r\nef");
    window.RTextBuf.setSelStart(4);
    window.RTextBuf.setSelLength(4);  // "cd\r\n"
    settle();
    const QTextCursor cursor = view->textCursor();
    EXPECT_EQ(cursor.selectionStart(), 3);
    EXPECT_EQ(cursor.selectionEnd(), 6);
    EXPECT_EQ(window.RTextBuf.SelText(), u"cd\r\n");
    // The operator's selection comes back in text positions.
    QTextCursor mine = view->textCursor();
    mine.setPosition(6);
    mine.setPosition(8, QTextCursor::KeepAnchor);
    view->setTextCursor(mine);
    EXPECT_EQ(window.RTextBuf.SelStart(), 8);
    EXPECT_EQ(window.RTextBuf.SelLength(), 2);
}

TEST_F(ReceivePane, TypingMapsBackIntoTheText) {
    window.RTextBuf.setText(u"ab\ncd\r\nef");
    struct Step {
        std::int32_t caret;
        Qt::Key key;
        std::u16string text;
    };
    const Step steps[] = {
        {5, Qt::Key_X, u"ab\ncdx\r\nef"},      // after "cd"
        {8, Qt::Key_Backspace, u"ab\ncdxef"},  // a CR LF goes as one break
        {3, Qt::Key_Backspace, u"abcdxef"},    // a lone LF too
        {2, Qt::Key_Return, u"ab\r\ncdxef"},   // Enter writes CR LF
    };
    for (const Step& step : steps) {
        window.RTextBuf.setSelStart(step.caret);
        QTest::keyClick(view, step.key);
        EXPECT_EQ(window.RTextBuf.Text(), step.text);
    }
    EXPECT_EQ(shown(), QStringLiteral("ab\ncdxef"));
    EXPECT_EQ(window.RTextBuf.SelStart(), 4);
}

TEST_F(ReceivePane, DeletingBetweenACrAndAnLfMakesThemOneBreak) {
    window.RTextBuf.setText(u"A\rX\nB");
    settle();
    EXPECT_EQ(view->document()->blockCount(), 3);
    window.RTextBuf.setSelStart(2);
    window.RTextBuf.setSelLength(1);
    QTest::keyClick(view, Qt::Key_Delete);
    EXPECT_EQ(window.RTextBuf.Text(), u"A\r\nB");
    EXPECT_EQ(shown(), QStringLiteral("A\nB"));
    // Further edits still land in the right place.
    window.RTextBuf.setSelStart(3);
    QTest::keyClick(view, Qt::Key_Z);
    EXPECT_EQ(window.RTextBuf.Text(), u"A\r\nzB");
}

TEST_F(ReceivePane, PastedLineBreaksBecomeCrLf) {
    window.RTextBuf.setText(u"12");
    window.RTextBuf.setSelStart(1);
    settle();
    view->insertPlainText(QStringLiteral("a\nb\r\nc"));
    EXPECT_EQ(window.RTextBuf.Text(), u"1a\r\nb\r\nc2");
    EXPECT_EQ(window.RTextBuf.SelStart(), 8);
}

TEST_F(ReceivePane, RefreshRepaintsAndTheNewestLineIsInSight) {
    for (int i = 0; i < 300; ++i) {
        append(u"line\r\n");
    }
    window.RTextBuf.Refresh();
    settle();
    const QRect caret = view->cursorRect();
    EXPECT_TRUE(view->viewport()->rect().contains(caret.center()));
}

}  // namespace
