#pragma once

#include <QCheckBox>

#include "platform/controls.h"
#include "platform/qt/bound_widget.h"

namespace platform::qt {

// CheckBox: the operator's click goes through the model's Value (which raises
// Click); the box shows what the model then holds.
class CheckBoxWidget final : public BoundWidget<QCheckBox> {
  public:
    CheckBoxWidget(CheckBox& box, Runtime& runtime, QWidget* parent);

  protected:
    void applyProperty(Property property) override;
    void nextCheckState() override;

  private:
    CheckBox& box() const { return *static_cast<CheckBox*>(control()); }
    void showValue();
};

}  // namespace platform::qt
