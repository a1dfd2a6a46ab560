#include "platform/form.h"

#include <algorithm>
#include <utility>

#include "platform/runtime.h"
#include "platform/runtime_error.h"
#include "platform/timer.h"

namespace platform {

Form::Form(Runtime& runtime, std::u16string name) : runtime_(runtime), name_(std::move(name)) {}

Form::~Form() {
    if (visible_) {
        runtime_.formHidden(*this);
    }
}

void Form::notify(FormProperty property) const {
    if (view_ != nullptr) {
        view_->formChanged(property);
    }
}

void Form::setCaption(std::u16string value) {
    if (value != caption_) {
        caption_ = std::move(value);
        notify(FormProperty::Caption);
    }
}

const Rect& Form::bounds() const {
    return windowState_ == vbMaximized ? current_ : normal_;
}

void Form::geometryChanged() {
    notify(FormProperty::Geometry);
    if (visible_) {
        runtime_.dispatch([this] { Resize(); });
    }
}

void Form::setLeft(float value) {
    if (value != normal_.left) {
        normal_.left = value;
        notify(FormProperty::Geometry);
    }
}

void Form::setTop(float value) {
    if (value != normal_.top) {
        normal_.top = value;
        notify(FormProperty::Geometry);
    }
}

void Form::setWidth(float value) {
    setNormalSize(normal_.width, keepsInnerWidth_, value);
}

void Form::setHeight(float value) {
    setNormalSize(normal_.height, keepsInnerHeight_, value);
}

void Form::setNormalSize(float& side, bool& keepsInner, float value) {
    if (value < 0) {
        Raise(kErrInvalidPropertyValue);
    }
    keepsInner = false;  // the outer size is the code's now
    if (value == side) {
        return;
    }
    side = value;
    if (windowState_ == vbMaximized) {
        notify(FormProperty::Geometry);  // takes effect when the window is restored
    } else {
        geometryChanged();
    }
}

void Form::setFrameSize(float width, float height) {
    const bool outerChanges =
        (keepsInnerWidth_ && width != frameWidth_) || (keepsInnerHeight_ && height != frameHeight_);
    if (keepsInnerWidth_) {
        normal_.width += width - frameWidth_;
    }
    if (keepsInnerHeight_) {
        normal_.height += height - frameHeight_;
    }
    frameWidth_ = width;
    frameHeight_ = height;
    if (outerChanges) {
        notify(FormProperty::Geometry);
    }
}

void Form::setClientSize(float width, float height) {
    normal_.width = width + frameWidth_;
    normal_.height = height + frameHeight_;
    keepsInnerWidth_ = true;
    keepsInnerHeight_ = true;
    notify(FormProperty::Geometry);
}

void Form::setWindowState(std::int16_t value) {
    if (value < vbNormal || value > vbMaximized) {
        Raise(kErrInvalidPropertyValue);
    }
    if (value == windowState_) {
        return;
    }
    windowState_ = value;
    if (value == vbMaximized) {
        runtime_.maximizedBounds(current_.left, current_.top, current_.width, current_.height);
    }
    notify(FormProperty::WindowState);
    if (visible_) {
        runtime_.dispatch([this] { Resize(); });
    }
}

void Form::viewResized(const Rect& bounds, std::int16_t windowState) {
    const bool stateChanged = windowState != windowState_;
    windowState_ = windowState;
    Rect& target = windowState == vbMaximized ? current_ : normal_;
    const bool sizeChanged = bounds.width != target.width || bounds.height != target.height;
    target = bounds;
    if ((stateChanged || sizeChanged) && visible_) {
        runtime_.dispatch([this] { Resize(); });
    }
}

void Form::setEnabled(bool value) {
    if (value != enabled_) {
        enabled_ = value;
        notify(FormProperty::Enabled);
    }
}

void Form::setBackColor(Color value) {
    if (value != backColor_) {
        backColor_ = value;
        notify(FormProperty::BackColor);
    }
}

void Form::setIcon(Picture value) {
    icon_ = std::move(value);
    notify(FormProperty::Icon);
}

void Form::setTopMost(bool value) {
    topMost_ = value;
    notify(FormProperty::TopMost);
}

void Form::Show() {
    if (!loaded_) {
        loaded_ = true;
        for (Timer* timer : timers_) {
            runtime_.timerChanged(*timer);
        }
        runtime_.dispatch([this] { Load(); });
    }
    if (!loaded_) {
        return;  // the load handler unloaded the window
    }
    if (!visible_) {
        visible_ = true;
        runtime_.formShown(*this);
        notify(FormProperty::Visible);
        if (focus_ == nullptr) {
            focusFirst();
        }
        runtime_.dispatch([this] { Resize(); });
        return;
    }
    // Shown again: a minimised window comes back, and the window to the front.
    if (windowState_ == vbMinimized) {
        setWindowState(vbNormal);
    }
    runtime_.formShown(*this);
}

void Form::Unload() {
    if (!loaded_) {
        return;
    }
    std::int16_t cancel = 0;
    runtime_.dispatch([this, &cancel] { UnloadEvent(cancel); });
    if (cancel != 0) {
        return;
    }
    loaded_ = false;
    for (Timer* timer : timers_) {
        runtime_.timerChanged(*timer);
    }
    if (visible_) {
        visible_ = false;
        notify(FormProperty::Visible);
        runtime_.formHidden(*this);
    }
    focus_ = nullptr;
}

void Form::remove(Control* control) {
    std::erase(controls_, control);
    if (focus_ == control) {
        focus_ = nullptr;
    }
}

void Form::remove(Timer* timer) {
    std::erase(timers_, timer);
}

std::vector<Control*> Form::tabOrder() const {
    std::vector<Control*> order;
    for (Control* control : controls_) {
        if (control->canTakeFocus()) {
            order.push_back(control);
        }
    }
    std::stable_sort(order.begin(), order.end(), [](const Control* a, const Control* b) {
        return a->TabIndex() < b->TabIndex();
    });
    return order;
}

void Form::setFocusTo(Control* control) {
    focus_ = control;
}

void Form::focusFirst() {
    const auto order = tabOrder();
    focus_ = order.empty() ? nullptr : order.front();
    if (focus_ != nullptr && focus_->view() != nullptr) {
        focus_->view()->focusRequested();
    }
}

void Form::tabFocus(bool backwards) {
    const auto order = tabOrder();
    if (order.empty()) {
        focus_ = nullptr;
        return;
    }
    auto it = std::find(order.begin(), order.end(), focus_);
    if (it == order.end()) {
        focus_ = backwards ? order.back() : order.front();
    } else if (backwards) {
        focus_ = it == order.begin() ? order.back() : *(it - 1);
    } else {
        focus_ = (it + 1) == order.end() ? order.front() : *(it + 1);
    }
    if (focus_->view() != nullptr) {
        focus_->view()->focusRequested();
    }
}

void Form::controlDisabled(Control& control) {
    if (focus_ != &control) {
        return;
    }
    // Like the real toolkit, the focus moves on to the next control.
    const auto order = tabOrder();
    const auto next = std::find_if(order.begin(), order.end(), [&control](const Control* c) {
        return c->TabIndex() > control.TabIndex();
    });
    focus_ = next != order.end() ? *next : (order.empty() ? nullptr : order.front());
    if (focus_ != nullptr && focus_->view() != nullptr) {
        focus_->view()->focusRequested();
    }
}

}  // namespace platform
