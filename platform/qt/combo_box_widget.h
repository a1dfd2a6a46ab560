#pragma once

#include <QComboBox>

#include "platform/controls.h"
#include "platform/qt/bound_widget.h"

namespace platform::qt {

// ComboBox: a drop-down list. The operator's pick raises Click, also for the
// entry already shown.
class ComboBoxWidget final : public BoundWidget<QComboBox> {
  public:
    ComboBoxWidget(ComboBox& list, Runtime& runtime, QWidget* parent);

  protected:
    void applyProperty(Property property) override;
    void applyColors() override;

  private:
    ComboBox& list() const { return *static_cast<ComboBox*>(control()); }
    void showItems();
    void showListIndex();
    void picked(int index);
};

}  // namespace platform::qt
