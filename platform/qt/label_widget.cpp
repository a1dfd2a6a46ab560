#include "platform/qt/label_widget.h"

#include "platform/qt/qt_convert.h"

namespace platform::qt {

LabelWidget::LabelWidget(Label& label, Runtime& runtime, QWidget* parent)
    : BoundWidget<QLabel>(label, runtime, parent) {
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setWordWrap(true);
    setFocusPolicy(Qt::NoFocus);
}

void LabelWidget::applyProperty(Property property) {
    const auto& label = *static_cast<Label*>(control());
    if (property == Property::Caption) {
        setText(ToQString(label.Caption()));
    } else if (property == Property::Appearance) {
        setFrameStyle(label.BorderStyle() == 1 ? (QFrame::Box | QFrame::Plain) : QFrame::NoFrame);
        setLineWidth(1);
    }
}

void LabelWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        pressed_ = true;
        doubleClicked_ = false;
    }
    event->accept();
}

void LabelWidget::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = event->button() == Qt::LeftButton && pressed_ && !doubleClicked_ &&
                       rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton) {
        pressed_ = false;
        doubleClicked_ = false;
    }
    event->accept();
    if (click) {
        raiseEvent([](Control& control) { control.Click(); });
    }
}

void LabelWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton) {
        return;
    }
    // The second press of a double-click raises DblClick instead of a second Click.
    pressed_ = true;
    doubleClicked_ = true;
    raiseEvent([](Control& control) { control.DblClick(); });
}

}  // namespace platform::qt
