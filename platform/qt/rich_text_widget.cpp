#include "platform/qt/rich_text_widget.h"

#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <string>

#include "platform/qt/qt_convert.h"

namespace platform::qt {

RichTextWidget::RichTextWidget(RichTextBox& pane, Runtime& runtime, QWidget* parent)
    : BoundTextWidget<QPlainTextEdit>(pane, runtime, parent) {
    setTabChangesFocus(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    keep(connect(document(), &QTextDocument::contentsChange, this,
                 [this](int position, int removed, int added) {
                     documentEdited(position, removed, added);
                 }));
    keep(connect(this, &QPlainTextEdit::cursorPositionChanged, this, [this] { selectionMoved(); }));
    keep(connect(this, &QPlainTextEdit::selectionChanged, this, [this] { selectionMoved(); }));
}

void RichTextWidget::applyProperty(Property property) {
    if (property == Property::Text) {
        showAllText();
    } else if (property == Property::Selection) {
        showSelection();
    }
}

void RichTextWidget::applyColors() {
    setColors({QPalette::Base}, {QPalette::Text}, false);
}

void RichTextWidget::repaint() {
    viewport()->update();
}

void RichTextWidget::editQuietly(const std::function<void(QTextCursor&)>& edit) {
    QScopedValueRollback guard(syncing_, true);
    QTextDocument& doc = *document();
    doc.setUndoRedoEnabled(false);
    QTextCursor cursor(&doc);
    edit(cursor);
    doc.setUndoRedoEnabled(true);
}

void RichTextWidget::showAllText() {
    const std::u16string& text = pane().Text();
    map_.reset(text);
    editQuietly([&text](QTextCursor& cursor) {
        cursor.select(QTextCursor::Document);
        cursor.removeSelectedText();
        if (!text.empty()) {
            cursor.insertText(ToQString(text));
        }
    });
}

void RichTextWidget::textReplaced(std::int32_t start, std::int32_t removed,
                                  std::u16string_view inserted) {
    if (!attached()) {
        return;
    }
    const std::u16string& text = pane().Text();
    const auto size = static_cast<std::int32_t>(text.size());
    std::int32_t from = start;
    std::int32_t oldEnd = start + removed;
    std::int32_t newEnd = start + static_cast<std::int32_t>(inserted.size());
    if (from == 0 && newEnd == size) {
        showAllText();
        return;
    }
    // A CR just before or an LF just after may pair up with the new text, or
    // lose its partner: those line breaks are drawn again with it.
    if (from > 0 && text[static_cast<std::size_t>(from) - 1] == u'\r') {
        --from;
    }
    if (newEnd < size && text[static_cast<std::size_t>(newEnd)] == u'\n') {
        ++oldEnd;
        ++newEnd;
    }
    const int docFrom = map_.toDocument(from);
    const int docTo = map_.toDocument(oldEnd);
    map_.replaced(text, from, oldEnd, newEnd);
    const QString piece = ToQString(std::u16string_view(text).substr(
        static_cast<std::size_t>(from), static_cast<std::size_t>(newEnd - from)));
    editQuietly([docFrom, docTo, &piece](QTextCursor& cursor) {
        cursor.setPosition(docFrom);
        cursor.setPosition(docTo, QTextCursor::KeepAnchor);
        if (cursor.hasSelection()) {
            cursor.removeSelectedText();
        }
        if (!piece.isEmpty()) {
            cursor.insertText(piece);
        }
    });
}

void RichTextWidget::showSelection() {
    const std::int32_t start = pane().SelStart();
    const int anchor = map_.toDocument(start);
    const int position = map_.toDocument(start + pane().SelLength());
    QScopedValueRollback guard(syncing_, true);
    QTextCursor cursor = textCursor();
    cursor.setPosition(anchor);
    cursor.setPosition(position, QTextCursor::KeepAnchor);
    setTextCursor(cursor);  // also brings the caret into sight
}

void RichTextWidget::documentEdited(int position, int removed, int added) {
    if (syncing_ || !attached()) {
        return;
    }
    RichTextBox& box = pane();
    const std::u16string& text = box.Text();
    const int oldLength = map_.toDocument(static_cast<std::int32_t>(text.size()));
    const int newLength = document()->characterCount() - 1;
    position = std::clamp(position, 0, oldLength);
    removed = std::clamp(removed, 0, oldLength - position);
    added = std::clamp(added, 0, newLength - position);
    if (added - removed != newLength - oldLength) {
        // The document reported a range that does not add up: compare all of it.
        position = 0;
        removed = oldLength;
        added = newLength;
    }
    QTextCursor range(document());
    range.setPosition(position);
    range.setPosition(position + added, QTextCursor::KeepAnchor);
    const std::u16string now = FromQString(range.selectedText());
    const std::int32_t textFrom = map_.toText(position);
    const std::int32_t textTo = map_.toText(position + removed);
    const std::u16string before = DocumentForm(std::u16string_view(text).substr(
        static_cast<std::size_t>(textFrom), static_cast<std::size_t>(textTo - textFrom)));
    // Only what really changed is written back, so untouched line breaks keep
    // the form they were written in.
    std::size_t head = 0;
    while (head < before.size() && head < now.size() && before[head] == now[head]) {
        ++head;
    }
    std::size_t tail = 0;
    while (tail < before.size() - head && tail < now.size() - head &&
           before[before.size() - 1 - tail] == now[now.size() - 1 - tail]) {
        ++tail;
    }
    const std::int32_t editFrom = map_.toText(position + static_cast<int>(head));
    const std::int32_t editTo = map_.toText(position + removed - static_cast<int>(tail));
    const std::u16string inserted =
        TextForm(std::u16string_view(now).substr(head, now.size() - head - tail));
    box.applyViewEdit(editFrom, editTo - editFrom, inserted);
    const auto insertedEnd = editFrom + static_cast<std::int32_t>(inserted.size());
    map_.replaced(box.Text(), editFrom, editTo, insertedEnd);
    // Removing what stood between a CR and an LF makes the two one line break.
    const std::u16string& after = box.Text();
    if (inserted.empty() && editFrom > 0 && static_cast<std::size_t>(editFrom) < after.size() &&
        after[static_cast<std::size_t>(editFrom) - 1] == u'\r' &&
        after[static_cast<std::size_t>(editFrom)] == u'\n') {
        const int merged = map_.toDocument(editFrom - 1);
        QScopedValueRollback guard(syncing_, true);
        QTextCursor cursor(document());
        cursor.setPosition(merged + 1);
        cursor.setPosition(merged + 2, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
    selectionMoved();
}

void RichTextWidget::selectionMoved() {
    if (syncing_ || !attached()) {
        return;
    }
    const QTextCursor cursor = textCursor();
    const std::int32_t from = map_.toText(cursor.selectionStart());
    const std::int32_t to = map_.toText(cursor.selectionEnd());
    pane().applyViewSelection(from, to - from);
}

}  // namespace platform::qt
