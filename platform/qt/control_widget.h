#pragma once

#include <QMetaObject>
#include <QPalette>
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/control.h"

class QWidget;
class QKeyEvent;
class QMouseEvent;

namespace platform {
class CommandButton;
class Runtime;
}  // namespace platform

namespace platform::qt {

// The widget that shows one control. The model is the truth: the widget
// mirrors the properties the model names and hands the operator's input to
// the model's events, through the runtime's dispatch.
class ControlWidget : public ControlView {
  public:
    ControlWidget(Control& control, Runtime& runtime);
    ~ControlWidget() override;
    ControlWidget(const ControlWidget&) = delete;
    ControlWidget& operator=(const ControlWidget&) = delete;

    virtual QWidget& widget() = 0;
    // The control shown; nullptr once detached.
    Control* control() const { return control_; }
    bool attached() const { return control_ != nullptr; }
    // Stops mirroring; tells the control only when it still exists.
    void detach(bool controlAlive);
    // Takes every property from the model, for a new widget.
    void showAll();

    void propertyChanged(Property property) override;
    void focusRequested() override;

  protected:
    // What this kind of control adds to the common properties.
    virtual void applyProperty(Property property) = 0;
    virtual void applyGeometry();
    virtual void applyColors();
    // Sets background and text colours on the roles this kind paints with.
    void setColors(std::initializer_list<QPalette::ColorRole> back,
                   std::initializer_list<QPalette::ColorRole> fore, bool fill);

    Runtime& runtime() const { return runtime_; }
    // Runs a handler of the control when it takes input now.
    void raiseEvent(const std::function<void(Control&)>& handler);
    void keep(QMetaObject::Connection connection) { connections_.push_back(connection); }

    void gotFocus();
    void raiseMouseMove(const QMouseEvent& event);
    // A key for the widget: KeyPress first, then `take` gives the widget the
    // key as it is, or the character the handler put in its place.
    void routeKey(QKeyEvent& event, const std::function<void(QKeyEvent&)>& take);
    // Text an input method commits, passed character by character through KeyPress.
    QString filterCommitted(const QString& committed);

  private:
    Control* control_;
    Runtime& runtime_;
    std::vector<QMetaObject::Connection> connections_;
};

// The window's button that Enter (default) or Esc (cancel) presses, if one takes input.
CommandButton* FormButton(const Form& form, bool cancel);

std::int16_t ButtonMask(Qt::MouseButtons buttons);
std::int16_t ShiftMask(Qt::KeyboardModifiers modifiers);

}  // namespace platform::qt
