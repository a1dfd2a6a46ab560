#pragma once

#include <QMessageBox>
#include <QString>

namespace platform::qt {

// The runtime's message box: a plain-text prompt, one OK button, a close box
// and no minimise or maximise button, and wide enough for its whole title.
class MessageBox final : public QMessageBox {
  public:
    MessageBox(Icon icon, const QString& title, const QString& prompt);

    // The width a title bar needs to show the title beside the window
    // manager's icon and buttons.
    static int TitleBarWidth(const QString& title);

  protected:
    void changeEvent(QEvent* event) override;
};

}  // namespace platform::qt
