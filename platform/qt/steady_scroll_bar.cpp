#include "platform/qt/steady_scroll_bar.h"

#include <QEvent>
#include <QStyleOptionSlider>

namespace platform::qt {
namespace {

// What a style may draw around a slider, beyond its own rectangle.
constexpr int kSliderMargin = 2;

}  // namespace

SteadyScrollBar::SteadyScrollBar(Qt::Orientation orientation, QWidget* parent)
    : QScrollBar(orientation, parent) {
    followStyle();
}

SteadyScrollBar::Look SteadyScrollBar::look() const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    return {
        style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this),
        style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarGroove, this),
        option.state, option.sliderValue == option.minimum, option.sliderValue == option.maximum};
}

void SteadyScrollBar::release() {
    held_ = false;
    if (changedWhileHeld_) {
        changedWhileHeld_ = false;
        repaintChanged();
    }
}

void SteadyScrollBar::sliderChange(SliderChange /*change*/) {
    if (held_) {
        changedWhileHeld_ = true;
        return;
    }
    repaintChanged();
}

// Only the slider moved: its old and new places are painted again, the
// groove around them stays as it is.
void SteadyScrollBar::repaintChanged() {
    const Look now = look();
    if (painted_ && *painted_ == now) {
        return;
    }
    if (!painted_ || pressed_ || painted_->groove != now.groove || painted_->state != now.state ||
        painted_->atMinimum != now.atMinimum || painted_->atMaximum != now.atMaximum) {
        update();
        return;
    }
    QRect moved = painted_->slider.united(now.slider);
    if (orientation() == Qt::Vertical) {
        moved = QRect(0, moved.top() - kSliderMargin, width(), moved.height() + 2 * kSliderMargin);
    } else {
        moved = QRect(moved.left() - kSliderMargin, 0, moved.width() + 2 * kSliderMargin, height());
    }
    update(moved);
}

void SteadyScrollBar::paintEvent(QPaintEvent* event) {
    painted_ = look();
    QScrollBar::paintEvent(event);
}

// While the operator holds a part of the bar down, that part is drawn
// pressed: every change is painted whole.
void SteadyScrollBar::mousePressEvent(QMouseEvent* event) {
    pressed_ = true;
    QScrollBar::mousePressEvent(event);
}

void SteadyScrollBar::mouseReleaseEvent(QMouseEvent* event) {
    QScrollBar::mouseReleaseEvent(event);
    pressed_ = false;
    update();
}

void SteadyScrollBar::changeEvent(QEvent* event) {
    QScrollBar::changeEvent(event);
    if (event->type() == QEvent::StyleChange) {
        followStyle();
    }
}

bool SteadyScrollBar::event(QEvent* event) {
    const bool handled = QScrollBar::event(event);
    // After the style's own polish, which may have said otherwise.
    if (event->type() == QEvent::Polish) {
        followStyle();
    }
    return handled;
}

// A scroll bar that stays on screen covers its whole area: what lies under it
// need not be painted first. One that fades in and out over the text does not.
void SteadyScrollBar::followStyle() {
    painted_.reset();
    setAttribute(Qt::WA_OpaquePaintEvent,
                 style()->styleHint(QStyle::SH_ScrollBar_Transient, nullptr, this) == 0);
}

}  // namespace platform::qt
