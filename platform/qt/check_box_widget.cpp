#include "platform/qt/check_box_widget.h"

#include "platform/qt/qt_convert.h"

namespace platform::qt {

CheckBoxWidget::CheckBoxWidget(CheckBox& box, Runtime& runtime, QWidget* parent)
    : BoundWidget<QCheckBox>(box, runtime, parent) {}

void CheckBoxWidget::applyProperty(Property property) {
    if (property == Property::Caption) {
        setText(ToQString(box().Caption()));
    } else if (property == Property::Value) {
        showValue();
    }
}

void CheckBoxWidget::showValue() {
    const std::int16_t value = box().Value();
    setTristate(value == 2);
    setCheckState(value == 1 ? Qt::Checked : (value == 2 ? Qt::PartiallyChecked : Qt::Unchecked));
}

void CheckBoxWidget::nextCheckState() {
    raiseEvent([](Control& control) {
        auto& box = static_cast<CheckBox&>(control);
        box.setValue(box.Value() == 1 ? 0 : 1);
    });
    if (attached()) {
        showValue();
    }
}

}  // namespace platform::qt
