#include "platform/qt/input_guard.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include "platform/qt/form_window.h"

namespace platform::qt {
namespace {

bool IsInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::InputMethod:
        case QEvent::ContextMenu:
        case QEvent::DragEnter:  // refused at the door, so no drop follows
        case QEvent::DragMove:
        case QEvent::Drop:
        case QEvent::TabletPress:
        case QEvent::TabletMove:
        case QEvent::TabletRelease:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
            return true;
        default:
            return false;
    }
}

}  // namespace

InputGuard::InputGuard() {
    QCoreApplication::instance()->installEventFilter(this);
}

InputGuard::~InputGuard() {
    if (QCoreApplication::instance() != nullptr) {
        QCoreApplication::instance()->removeEventFilter(this);
    }
}

bool InputGuard::eventFilter(QObject* watched, QEvent* event) {
    if (!IsInput(event->type()) || !watched->isWidgetType()) {
        return false;
    }
    const auto* window = dynamic_cast<const FormWindow*>(static_cast<QWidget*>(watched)->window());
    return window != nullptr && window->inputBlocked();
}

}  // namespace platform::qt
