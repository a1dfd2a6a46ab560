#pragma once

#include <QLabel>

#include "platform/controls.h"
#include "platform/qt/bound_widget.h"

namespace platform::qt {

// Label: plain text, optionally a thin border. A press and release on it
// raises Click; moves raise MouseMove, with capture while a button is held.
class LabelWidget final : public BoundWidget<QLabel> {
  public:
    LabelWidget(Label& label, Runtime& runtime, QWidget* parent);

  protected:
    void applyProperty(Property property) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    bool pressed_ = false;
    bool doubleClicked_ = false;
};

}  // namespace platform::qt
