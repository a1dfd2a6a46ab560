#include "platform/qt/message_box.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QSpacerItem>

namespace platform::qt {
namespace {

// Room for the window icon and three buttons, with their padding, in line heights.
constexpr int kTitleBarButtonRoom = 6;

}  // namespace

MessageBox::MessageBox(Icon icon, const QString& title, const QString& prompt)
    : QMessageBox(icon, title, prompt, QMessageBox::Ok) {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setTextFormat(Qt::PlainText);
    setWindowModality(Qt::ApplicationModal);
    // Closing a message box never ends the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
        const QMargins margins = grid->contentsMargins();
        const int width = TitleBarWidth(title) - margins.left() - margins.right();
        // The layout owns the spacer; the box sizes itself to its layout.
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
}

int MessageBox::TitleBarWidth(const QString& title) {
    // Title bars draw their text bold; the window manager's font is not ours
    // to know, so the application's stands in for it.
    QFont font = QApplication::font();
    font.setBold(true);
    const QFontMetrics metrics(font);
    return metrics.horizontalAdvance(title) + kTitleBarButtonRoom * metrics.height();
}

void MessageBox::changeEvent(QEvent* event) {
    QMessageBox::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isMinimized()) {
        // A window manager may offer minimising anyway; a modal box out of
        // sight would leave the program without a window to answer.
        QMetaObject::invokeMethod(
            this, [this] { showNormal(); }, Qt::QueuedConnection);
    }
}

}  // namespace platform::qt
