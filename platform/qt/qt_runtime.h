#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

#include "platform/runtime.h"

class QTranslator;
class QWidget;

namespace platform {

class Control;

namespace qt {
class FormWindow;
class InputGuard;
class TimerDriver;
}  // namespace qt

// The forms runtime of the real program: every shown form is a Qt window,
// every control a widget, every running timer a QTimer. Needs an existing
// QApplication; the program ends when its last window is closed. Qt's own
// texts speak Chinese when Qt's translations are installed.
class QtRuntime : public Runtime {
  public:
    QtRuntime();
    ~QtRuntime() override;

    Micros now() const override;
    // Processes the pending events; with none pending it sleeps until the next one.
    void DoEvents() override;
    void Sleep(std::int32_t milliseconds) override;
    int MsgBox(const std::u16string& prompt, int buttons, const std::u16string& title) override;
    DateTime Now() const override;
    ScreenSize Screen() const override;
    void maximizedBounds(float& left, float& top, float& width, float& height) const override;

    void timerChanged(Timer& timer) override;
    void timerRemoved(Timer& timer) override;
    void formShown(Form& form) override;
    void formHidden(Form& form) override;

    // The widgets that show a form and its controls; nullptr while it is hidden.
    QWidget* window(const Form& form) const;
    QWidget* widget(const Control& control) const;

  private:
    std::unique_ptr<QTranslator> translations_;
    std::unique_ptr<qt::InputGuard> guard_;
    std::unique_ptr<qt::TimerDriver> timers_;
    std::unordered_map<const Form*, std::unique_ptr<qt::FormWindow>> windows_;
};

}  // namespace platform
