#include "platform/qt/button_widget.h"

#include "platform/qt/qt_convert.h"

namespace platform::qt {

ButtonWidget::ButtonWidget(CommandButton& button, Runtime& runtime, QWidget* parent)
    : BoundWidget<QPushButton>(button, runtime, parent) {
    setAutoDefault(false);
    setDefault(button.Default());
    keep(connect(this, &QPushButton::clicked, this,
                 [this] { raiseEvent([](Control& control) { control.Click(); }); }));
}

void ButtonWidget::applyProperty(Property property) {
    if (property == Property::Caption) {
        setText(ToQString(static_cast<CommandButton*>(control())->Caption()));
    }
}

void ButtonWidget::applyColors() {
    setColors({QPalette::Button}, {QPalette::ButtonText}, false);
}

}  // namespace platform::qt
