#include "platform/qt/text_box_widget.h"

#include <QScopedValueRollback>
#include <algorithm>

#include "platform/qt/qt_convert.h"

namespace platform::qt {
namespace {

// QLineEdit's own limit when there is none.
constexpr int kUnlimited = 32767;

}  // namespace

TextEdit DiffText(std::u16string_view before, std::u16string_view after) {
    std::size_t head = 0;
    while (head < before.size() && head < after.size() && before[head] == after[head]) {
        ++head;
    }
    std::size_t tail = 0;
    while (tail < before.size() - head && tail < after.size() - head &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail]) {
        ++tail;
    }
    return {static_cast<std::int32_t>(head), static_cast<std::int32_t>(before.size() - head - tail),
            std::u16string(after.substr(head, after.size() - head - tail))};
}

TextBoxWidget::TextBoxWidget(TextBox& box, Runtime& runtime, QWidget* parent)
    : BoundTextWidget<QLineEdit>(box, runtime, parent) {
    keep(connect(this, &QLineEdit::textEdited, this, [this](const QString& t) { edited(t); }));
    keep(connect(this, &QLineEdit::cursorPositionChanged, this, [this] { selectionMoved(); }));
    keep(connect(this, &QLineEdit::selectionChanged, this, [this] { selectionMoved(); }));
}

void TextBoxWidget::applyProperty(Property property) {
    switch (property) {
        case Property::Text:
            showText();
            break;
        case Property::Selection:
            showSelection();
            break;
        case Property::MaxLength:
            limitLength();
            break;
        default:
            break;
    }
}

void TextBoxWidget::applyColors() {
    setColors({QPalette::Base}, {QPalette::Text}, false);
}

void TextBoxWidget::limitLength() {
    // MaxLength limits typing only: a longer text from code is kept whole, and
    // then nothing more can be typed until it is shorter than the limit.
    const std::int32_t limit = box().MaxLength();
    const auto length = static_cast<int>(box().Text().size());
    const int wanted = limit == 0 ? std::max(kUnlimited, length) : std::max<int>(limit, length);
    if (wanted == maxLength()) {
        return;
    }
    // Setting the limit puts the caret at the end; it goes back where it was.
    const int anchor = hasSelectedText() ? selectionStart() : cursorPosition();
    const int caret = cursorPosition();
    QScopedValueRollback guard(syncing_, true);
    setMaxLength(wanted);
    setCursorPosition(anchor);
    if (caret != anchor) {
        cursorForward(true, caret - anchor);
    }
}

void TextBoxWidget::showText() {
    const QString wanted = ToQString(box().Text());
    if (wanted == text()) {
        return;
    }
    QScopedValueRollback guard(syncing_, true);
    limitLength();
    setText(wanted);
}

void TextBoxWidget::showSelection() {
    QScopedValueRollback guard(syncing_, true);
    if (box().SelLength() > 0) {
        setSelection(box().SelStart(), box().SelLength());
    } else {
        setCursorPosition(box().SelStart());
    }
}

void TextBoxWidget::edited(const QString& now) {
    if (syncing_ || !attached()) {
        return;
    }
    const TextEdit edit = DiffText(box().Text(), FromQString(now));
    box().applyViewEdit(edit.start, edit.removed, edit.inserted);
    limitLength();
    selectionMoved();
}

void TextBoxWidget::selectionMoved() {
    if (syncing_ || !attached()) {
        return;
    }
    if (hasSelectedText()) {
        box().applyViewSelection(selectionStart(), selectionLength());
    } else {
        box().applyViewSelection(cursorPosition(), 0);
    }
}

}  // namespace platform::qt
