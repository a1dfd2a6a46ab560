#pragma once

#include <QPushButton>

#include "platform/controls.h"
#include "platform/qt/bound_widget.h"

namespace platform::qt {

// CommandButton: a click (mouse, Space, or Enter while it has the focus) raises Click.
class ButtonWidget final : public BoundWidget<QPushButton> {
  public:
    ButtonWidget(CommandButton& button, Runtime& runtime, QWidget* parent);

  protected:
    void applyProperty(Property property) override;
    void applyColors() override;
};

}  // namespace platform::qt
