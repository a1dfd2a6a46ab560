#include "platform/control.h"

#include <utility>

#include "platform/form.h"
#include "platform/runtime_error.h"

namespace platform {

Control::Control(Form& form, ControlKind kind, std::u16string name, std::int16_t index)
    : form_(form), kind_(kind), name_(std::move(name)), index_(index) {
    form_.add(this);
}

Control::~Control() {
    form_.remove(this);
}

void Control::notify(Property property) const {
    if (view_ != nullptr) {
        view_->propertyChanged(property);
    }
}

void Control::setLeft(float value) {
    Move(value, top_, width_, height_);
}
void Control::setTop(float value) {
    Move(left_, value, width_, height_);
}
void Control::setWidth(float value) {
    Move(left_, top_, value, height_);
}
void Control::setHeight(float value) {
    Move(left_, top_, width_, value);
}

void Control::Move(float left, float top, float width, float height) {
    if (width < 0 || height < 0) {
        Raise(kErrInvalidPropertyValue);
    }
    if (left == left_ && top == top_ && width == width_ && height == height_) {
        return;
    }
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    notify(Property::Geometry);
}

void Control::setVisible(bool value) {
    if (value != visible_) {
        visible_ = value;
        notify(Property::Visible);
        if (!value) {
            form_.controlDisabled(*this);
        }
    }
}

void Control::setEnabled(bool value) {
    if (value != enabled_) {
        enabled_ = value;
        notify(Property::Enabled);
        if (!value) {
            form_.controlDisabled(*this);
        }
    }
}

void Control::setBackColor(Color value) {
    if (value != backColor_) {
        backColor_ = value;
        notify(Property::BackColor);
    }
}

void Control::setForeColor(Color value) {
    if (value != foreColor_) {
        foreColor_ = value;
        notify(Property::ForeColor);
    }
}

void Control::setFont(const platform::Font& value) {
    if (!(value == font_)) {
        font_ = value;
        notify(Property::Font);
    }
}

void Control::setToolTipText(std::u16string value) {
    if (value != toolTip_) {
        toolTip_ = std::move(value);
        notify(Property::ToolTipText);
    }
}

void Control::setTabIndex(std::int16_t value) {
    if (value != tabIndex_) {
        tabIndex_ = value;
        notify(Property::TabIndex);
    }
}

void Control::setMousePointer(std::int16_t value) {
    if (value != mousePointer_) {
        mousePointer_ = value;
        notify(Property::MousePointer);
    }
}

void Control::setMouseIcon(Picture value) {
    mouseIcon_ = std::move(value);
    notify(Property::MousePointer);
}

bool Control::canTakeFocus() const {
    return focusable() && enabled_ && visible_ && form_.acceptsInput();
}

bool Control::hasFocus() const {
    return form_.ActiveControl() == this;
}

void Control::SetFocus() {
    if (!canTakeFocus()) {
        Raise(kErrInvalidCall);
    }
    form_.setFocusTo(this);
    if (view_ != nullptr) {
        view_->focusRequested();
    }
}

bool Control::acceptsInput() const {
    return enabled_ && visible_ && form_.acceptsInput();
}

}  // namespace platform
