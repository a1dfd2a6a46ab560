#include "platform/qt/rich_text_widget.h"

#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimerEvent>
#include <algorithm>
#include <memory>
#include <string>

#include "platform/qt/qt_convert.h"
#include "platform/qt/steady_scroll_bar.h"
#include "platform/runtime.h"

namespace platform::qt {
namespace {

// The operator's ways into the document: it must hold the model's text
// before Qt acts on them. A paint, a hover or a plain pointer move may show
// what the last refresh left.
bool ReachesDocument(const QEvent& event) {
    switch (event.type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::InputMethod:
        case QEvent::InputMethodQuery:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            return true;
        case QEvent::MouseMove:
            return static_cast<const QMouseEvent&>(event).buttons() != Qt::NoButton;
        default:
            return false;
    }
}

}  // namespace

RichTextWidget::RichTextWidget(RichTextBox& pane, Runtime& runtime, QWidget* parent)
    : BoundTextWidget<QPlainTextEdit>(pane, runtime, parent) {
    setTabChangesFocus(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    auto bar = std::make_unique<SteadyScrollBar>(Qt::Vertical);
    scrollBar_ = bar.get();
    setVerticalScrollBar(bar.release());
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
        backlog_.clear(static_cast<std::int32_t>(shown_.size()));
    } else if (property == Property::Selection) {
        selectionPending_ = true;
        schedule();
    }
}

void RichTextWidget::applyColors() {
    setColors({QPalette::Base}, {QPalette::Text}, false);
}

void RichTextWidget::textReplaced(std::int32_t start, std::int32_t removed,
                                  std::u16string_view inserted) {
    if (!attached()) {
        return;
    }
    if (backlog_.empty()) {
        backlog_.clear(static_cast<std::int32_t>(shown_.size()));
    }
    backlog_.replaced(start, removed, static_cast<std::int32_t>(inserted.size()));
    schedule();
}

void RichTextWidget::repaint() {
    repaintPending_ = true;
    schedule();
}

void RichTextWidget::schedule() {
    if (handling_ > 0) {
        showPending();
        return;
    }
    const Micros now = runtime().now();
    const Micros due = std::max(now, lastShown_ + kRefresh);
    // A refresh already set for this moment or sooner stands, unless the
    // clock has passed it while its timer still waits.
    if (refreshTimer_.isActive() && refreshDue_ <= due && refreshDue_ > now) {
        return;
    }
    refreshDue_ = due;
    const auto wait = static_cast<int>((due - now + 999) / 1000);
    refreshTimer_.start(wait, Qt::PreciseTimer, this);
}

bool RichTextWidget::event(QEvent* event) {
    if (event->type() == QEvent::Timer &&
        static_cast<QTimerEvent*>(event)->timerId() == refreshTimer_.timerId()) {
        refreshTimer_.stop();
        if (runtime().now() < refreshDue_) {
            schedule();  // not yet on the runtime's clock
        } else {
            showPending();
        }
        return true;
    }
    QScopedValueRollback depth(handling_, handling_ + 1);
    if (ReachesDocument(*event)) {
        showPending();
    }
    return BoundTextWidget<QPlainTextEdit>::event(event);
}

bool RichTextWidget::viewportEvent(QEvent* event) {
    QScopedValueRollback depth(handling_, handling_ + 1);
    if (ReachesDocument(*event)) {
        showPending();
    }
    return BoundTextWidget<QPlainTextEdit>::viewportEvent(event);
}

void RichTextWidget::showPending() {
    if (!pending() || syncing_) {
        return;
    }
    refreshTimer_.stop();
    lastShown_ = runtime().now();
    if (!attached()) {
        backlog_.clear(static_cast<std::int32_t>(shown_.size()));
        selectionPending_ = false;
        repaintPending_ = false;
        return;
    }
    const SteadyScrollBar::Hold hold(*scrollBar_);
    if (!backlog_.empty()) {
        showText();
        selectionPending_ = true;
    }
    if (selectionPending_) {
        selectionPending_ = false;
        showSelection();
    }
    if (repaintPending_) {
        repaintPending_ = false;
        viewport()->update();
    }
}

void RichTextWidget::showText() {
    const std::u16string& text = pane().Text();
    const std::int32_t dropped = backlog_.dropped();
    const std::int32_t kept = backlog_.kept();
    backlog_.clear(static_cast<std::int32_t>(text.size()));
    QTextDocument& doc = *document();
    const int tailFrom = map_.toDocument(dropped + kept);
    // A paragraph is laid out whole on each change: when both edits fall into
    // the same one, it is laid out once for the two.
    const bool oneParagraph =
        dropped > 0 && doc.findBlock(map_.toDocument(dropped)) == doc.findBlock(tailFrom);
    editQuietly([&](QTextCursor& batch) {
        if (oneParagraph) {
            batch.beginEditBlock();
        }
        if (dropped > 0) {
            showEdit(0, dropped, {});
        }
        if (static_cast<std::size_t>(kept) < std::max(shown_.size(), text.size())) {
            showEdit(kept, static_cast<std::int32_t>(shown_.size()),
                     std::u16string_view(text).substr(static_cast<std::size_t>(kept)));
        }
        if (oneParagraph) {
            batch.endEditBlock();
        }
    });
    // Paragraphs are painted far more often than they change: their shaped
    // glyphs are kept.
    for (QTextBlock block = doc.findBlock(std::max(0, map_.toDocument(kept) - 1)); block.isValid();
         block = block.next()) {
        block.layout()->setCacheEnabled(true);
    }
}

void RichTextWidget::editQuietly(const std::function<void(QTextCursor&)>& edit) {
    QTextDocument& doc = *document();
    QTextCursor cursor(&doc);
    if (syncing_) {
        edit(cursor);
        return;
    }
    QScopedValueRollback guard(syncing_, true);
    doc.setUndoRedoEnabled(false);
    edit(cursor);
    doc.setUndoRedoEnabled(true);
}

void RichTextWidget::showAllText() {
    shown_ = pane().Text();
    rebuildDocument();
}

void RichTextWidget::rebuildDocument() {
    map_.reset(shown_);
    editQuietly([this](QTextCursor& cursor) {
        cursor.select(QTextCursor::Document);
        cursor.removeSelectedText();
        if (!shown_.empty()) {
            cursor.insertText(ToQString(shown_));
        }
    });
}

void RichTextWidget::showEdit(std::int32_t start, std::int32_t oldEnd, std::u16string_view with) {
    shown_.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(oldEnd - start), with);
    const std::u16string& text = shown_;
    const auto size = static_cast<std::int32_t>(text.size());
    std::int32_t from = start;
    std::int32_t newEnd = start + static_cast<std::int32_t>(with.size());
    if (from == 0 && newEnd == size) {
        rebuildDocument();
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
    if (!backlog_.empty()) {
        // Edited by something other than an event of the pane, while the
        // document was behind the model: the model's text stands.
        backlog_.replaceAll();
        schedule();
        return;
    }
    RichTextBox& box = pane();
    const std::u16string& text = shown_;
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
    shown_ = box.Text();
    const auto insertedEnd = editFrom + static_cast<std::int32_t>(inserted.size());
    map_.replaced(shown_, editFrom, editTo, insertedEnd);
    // Removing what stood between a CR and an LF makes the two one line break.
    const std::u16string& after = shown_;
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
    if (syncing_ || !attached() || !backlog_.empty()) {
        return;
    }
    const QTextCursor cursor = textCursor();
    const std::int32_t from = map_.toText(cursor.selectionStart());
    const std::int32_t to = map_.toText(cursor.selectionEnd());
    pane().applyViewSelection(from, to - from);
}

}  // namespace platform::qt
