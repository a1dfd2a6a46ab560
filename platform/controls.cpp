#include "platform/controls.h"

#include <algorithm>
#include <utility>

#include "platform/ansi_codepage.h"
#include "platform/form.h"
#include "platform/runtime_error.h"

namespace platform {

CommandButton::CommandButton(Form& form, std::u16string name, std::int16_t index)
    : Control(form, ControlKind::CommandButton, std::move(name), index) {}

void CommandButton::setCaption(std::u16string_view value) {
    if (value != caption_) {
        caption_.assign(value);
        notify(Property::Caption);
    }
}

Label::Label(Form& form, std::u16string name)
    : Control(form, ControlKind::Label, std::move(name)) {}

void Label::setCaption(std::u16string_view value) {
    if (value != caption_) {
        caption_.assign(value);
        notify(Property::Caption);
    }
}

void Label::setBorderStyle(std::int16_t value) {
    if (value != borderStyle_) {
        borderStyle_ = value;
        notify(Property::Appearance);
    }
}

// --- text with a selection ---

void TextControl::setText(std::u16string value) {
    // The view hears only what changed: cutting a pane down to its tail is
    // the removal of its head.
    const std::size_t shorter = std::min(text_.size(), value.size());
    std::size_t tail = 0;
    while (tail < shorter && text_[text_.size() - 1 - tail] == value[value.size() - 1 - tail]) {
        ++tail;
    }
    std::size_t head = 0;
    while (head < shorter - tail && text_[head] == value[head]) {
        ++head;
    }
    const auto removed = static_cast<std::int32_t>(text_.size() - head - tail);
    text_ = std::move(value);
    selStart_ = 0;
    selLength_ = 0;
    if (view() != nullptr) {
        view()->textReplaced(static_cast<std::int32_t>(head), removed,
                             std::u16string_view(text_).substr(head, text_.size() - head - tail));
        view()->propertyChanged(Property::Selection);
    }
}

void TextControl::setSelStart(std::int32_t value) {
    if (value < 0) {
        Raise(kErrInvalidPropertyValue);
    }
    selStart_ = std::min(value, static_cast<std::int32_t>(text_.size()));
    selLength_ = 0;
    notify(Property::Selection);
}

void TextControl::setSelLength(std::int32_t value) {
    if (value < 0) {
        Raise(kErrInvalidPropertyValue);
    }
    selLength_ = std::min(value, static_cast<std::int32_t>(text_.size()) - selStart_);
    notify(Property::Selection);
}

std::u16string TextControl::SelText() const {
    return text_.substr(selStart_, selLength_);
}

void TextControl::setSelText(std::u16string_view value) {
    replace(selStart_, selLength_, value, true);
}

void TextControl::replace(std::int32_t start, std::int32_t removed, std::u16string_view inserted,
                          bool tellView) {
    const auto size = static_cast<std::int32_t>(text_.size());
    start = std::clamp(start, 0, size);
    removed = std::clamp(removed, 0, size - start);
    text_.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(removed), inserted);
    selStart_ = start + static_cast<std::int32_t>(inserted.size());
    selLength_ = 0;
    if (tellView && view() != nullptr) {
        view()->textReplaced(start, removed, inserted);
        view()->propertyChanged(Property::Selection);
    }
}

void TextControl::applyViewEdit(std::int32_t start, std::int32_t removed,
                                std::u16string_view inserted) {
    replace(start, removed, inserted, false);
}

void TextControl::applyViewSelection(std::int32_t start, std::int32_t length) {
    const auto size = static_cast<std::int32_t>(text_.size());
    selStart_ = std::clamp(start, 0, size);
    selLength_ = std::clamp(length, 0, size - selStart_);
}

std::size_t TextControl::room() const {
    return static_cast<std::size_t>(-1);
}

void TextControl::typeCharacter(std::int16_t keyAscii) {
    constexpr std::int16_t kBackspace = 8;
    constexpr std::int16_t kEnter = 13;
    if (keyAscii == kBackspace) {
        if (selLength_ > 0) {
            replace(selStart_, selLength_, {}, true);
        } else if (selStart_ > 0) {
            replace(selStart_ - 1, 1, {}, true);
        }
        return;
    }
    std::u16string typed;
    if (keyAscii == kEnter) {
        if (!multiLine()) {
            return;
        }
        typed = u"\r\n";
    } else if (keyAscii > 0 && keyAscii < 32) {
        return;
    } else {
        typed = AnsiCodeToText(keyAscii);
    }
    // The selection's characters make room; compared without adding, since an
    // unlimited room is the largest size there is.
    const auto freed = static_cast<std::size_t>(selLength_);
    if (typed.empty() || (typed.size() > freed && typed.size() - freed > room())) {
        return;
    }
    replace(selStart_, selLength_, typed, true);
}

TextBox::TextBox(Form& form, std::u16string name)
    : TextControl(form, ControlKind::TextBox, std::move(name)) {
    setBackColor(kWindowColor);
}

void TextBox::setMaxLength(std::int32_t value) {
    if (value < 0) {
        Raise(kErrInvalidPropertyValue);
    }
    if (value != maxLength_) {
        maxLength_ = value;
        notify(Property::MaxLength);
    }
}

std::size_t TextBox::room() const {
    if (maxLength_ == 0) {
        return TextControl::room();
    }
    const auto used = static_cast<std::int32_t>(Text().size());
    return used >= maxLength_ ? 0 : static_cast<std::size_t>(maxLength_ - used);
}

RichTextBox::RichTextBox(Form& form, std::u16string name)
    : TextControl(form, ControlKind::RichTextBox, std::move(name)) {
    setBackColor(kWindowColor);
}

void RichTextBox::Refresh() {
    if (view() != nullptr) {
        view()->repaint();
    }
}

// --- drop-down list ---

ComboBox::ComboBox(Form& form, std::u16string name)
    : Control(form, ControlKind::ComboBox, std::move(name)) {
    setBackColor(kWindowColor);
}

void ComboBox::AddItem(std::u16string item) {
    items_.push_back(std::move(item));
    notify(Property::Items);
}

std::u16string ComboBox::List(std::int32_t index) const {
    if (index < 0 || index >= ListCount()) {
        return {};
    }
    return items_[static_cast<std::size_t>(index)];
}

void ComboBox::setListIndex(std::int16_t value) {
    if (value < -1 || value >= ListCount()) {
        Raise(kErrInvalidPropertyValue);
    }
    if (value == listIndex_) {
        return;
    }
    listIndex_ = value;
    notify(Property::ListIndex);
    if (value != -1) {
        Click();
    }
}

std::u16string ComboBox::Text() const {
    return List(listIndex_);
}

void ComboBox::pick(std::int16_t index) {
    if (index < 0 || index >= ListCount()) {
        return;
    }
    if (index != listIndex_) {
        listIndex_ = index;
        notify(Property::ListIndex);
    }
    Click();
}

// --- check box ---

CheckBox::CheckBox(Form& form, std::u16string name)
    : Control(form, ControlKind::CheckBox, std::move(name)) {}

void CheckBox::setCaption(std::u16string_view value) {
    if (value != caption_) {
        caption_.assign(value);
        notify(Property::Caption);
    }
}

void CheckBox::setValue(std::int16_t value) {
    if (value < 0 || value > 2) {
        Raise(kErrInvalidPropertyValue);
    }
    if (value != value_) {
        value_ = value;
        notify(Property::Value);
        Click();
    }
}

// --- line ---

Line::Line(Form& form, std::u16string name, std::int16_t index)
    : Control(form, ControlKind::Line, std::move(name), index) {}

void Line::setPoints(float x1, float y1, float x2, float y2) {
    x1_ = x1;
    y1_ = y1;
    x2_ = x2;
    y2_ = y2;
    Move(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2) - std::min(x1, x2),
         std::max(y1, y2) - std::min(y1, y2));
    notify(Property::Appearance);
}

void Line::setBorderColor(Color value) {
    borderColor_ = value;
    notify(Property::Appearance);
}

void Line::setBorderWidth(std::int16_t value) {
    borderWidth_ = value;
    notify(Property::Appearance);
}

void Line::setBorderStyle(std::int16_t value) {
    borderStyle_ = value;
    notify(Property::Appearance);
}

}  // namespace platform
