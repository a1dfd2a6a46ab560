#include "platform/qt/line_widget.h"

#include <QPainter>
#include <algorithm>

#include "platform/qt/qt_convert.h"

namespace platform::qt {

LineWidget::LineWidget(Line& line, Runtime& runtime, QWidget* parent)
    : BoundWidget<QWidget>(line, runtime, parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoMousePropagation, false);
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(false);
}

void LineWidget::applyProperty(Property property) {
    if (property == Property::Appearance) {
        applyGeometry();
    }
}

void LineWidget::applyGeometry() {
    width_ = std::max<int>(1, line().BorderWidth());
    color_ = ToQColor(line().BorderColor());
    const QPoint a(ToPixels(line().X1()), ToPixels(line().Y1()));
    const QPoint b(ToPixels(line().X2()), ToPixels(line().Y2()));
    // The widget covers the line and its pen: the pen reaches below and right of the points.
    const QRect bounds = QRect(a, b).normalized().adjusted(0, 0, width_, width_);
    setGeometry(bounds);
    from_ = a - bounds.topLeft();
    to_ = b - bounds.topLeft();
    update();
}

void LineWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (from_.y() == to_.y() || from_.x() == to_.x()) {
        // Straight lines as filled pixels, exactly BorderWidth thick.
        const QRect pixels = QRect(from_, to_)
                                 .normalized()
                                 .adjusted(0, 0, from_.y() == to_.y() ? 0 : width_ - 1,
                                           from_.y() == to_.y() ? width_ - 1 : 0);
        painter.fillRect(pixels, color_);
        return;
    }
    painter.setPen(QPen(color_, width_, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(from_, to_);
}

}  // namespace platform::qt
