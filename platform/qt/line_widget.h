#pragma once

#include <QWidget>

#include "platform/controls.h"
#include "platform/qt/bound_widget.h"

namespace platform::qt {

// Line: drawn on the window; the mouse goes through it to what lies beneath.
class LineWidget final : public BoundWidget<QWidget> {
  public:
    LineWidget(Line& line, Runtime& runtime, QWidget* parent);

  protected:
    void applyProperty(Property property) override;
    void applyGeometry() override;
    void applyColors() override {}
    void paintEvent(QPaintEvent* event) override;

  private:
    Line& line() const { return *static_cast<Line*>(control()); }
    QPoint from_;
    QPoint to_;
    QColor color_;
    int width_ = 1;
};

}  // namespace platform::qt
