#pragma once

#include <QObject>

namespace platform::qt {

// Swallows the operator's input, dropped text included, for every widget of
// a window whose form is disabled. The window is not greyed out: a disabled
// main window during a command exchange must not flicker. Installed on the
// whole application.
class InputGuard final : public QObject {
  public:
    InputGuard();
    ~InputGuard() override;
    InputGuard(const InputGuard&) = delete;
    InputGuard& operator=(const InputGuard&) = delete;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace platform::qt
