#include "platform/qt/combo_box_widget.h"

#include <QSignalBlocker>

#include "platform/qt/qt_convert.h"

namespace platform::qt {

ComboBoxWidget::ComboBoxWidget(ComboBox& list, Runtime& runtime, QWidget* parent)
    : BoundWidget<QComboBox>(list, runtime, parent) {
    setEditable(false);
    keep(connect(this, &QComboBox::activated, this, [this](int index) { picked(index); }));
}

void ComboBoxWidget::applyProperty(Property property) {
    if (property == Property::Items) {
        showItems();
    } else if (property == Property::ListIndex) {
        showListIndex();
    }
}

void ComboBoxWidget::applyColors() {
    // The closed box paints with Button, its list with Base.
    setColors({QPalette::Base, QPalette::Button, QPalette::Window},
              {QPalette::Text, QPalette::ButtonText, QPalette::WindowText}, false);
}

void ComboBoxWidget::showItems() {
    const QSignalBlocker quiet(this);
    clear();
    for (std::int32_t i = 0; i < list().ListCount(); ++i) {
        addItem(ToQString(list().List(i)));
    }
    setCurrentIndex(list().ListIndex());
}

void ComboBoxWidget::showListIndex() {
    if (currentIndex() != list().ListIndex()) {
        const QSignalBlocker quiet(this);
        setCurrentIndex(list().ListIndex());
    }
}

void ComboBoxWidget::picked(int index) {
    if (!attached()) {
        return;
    }
    const auto entry = static_cast<std::int16_t>(index);
    raiseEvent([entry](Control& control) { static_cast<ComboBox&>(control).pick(entry); });
    if (attached()) {
        showListIndex();  // a refused pick, or a handler that chose another entry
    }
}

}  // namespace platform::qt
