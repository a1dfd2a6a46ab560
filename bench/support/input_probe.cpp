#include "bench/support/input_probe.h"

#include <QAbstractScrollArea>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include "console/tamsel.h"
#include "platform/qt/qt_runtime.h"

namespace bench {
namespace {

// Posted after the input, so it is handled right after it.
const auto kHandled = static_cast<QEvent::Type>(QEvent::User + 1);

}  // namespace

InputProbe::InputProbe(platform::QtRuntime& runtime, console::Tamsel& window)
    : runtime_(runtime), window_(window) {
    timer_.setInterval(100);
    connect(&timer_, &QTimer::timeout, this, [this] { send(); });
}

void InputProbe::start() {
    sent_ = 0;
    missed_ = 0;
    slowest_ = std::chrono::microseconds(0);
    timer_.start();
}

void InputProbe::stop() {
    timer_.stop();
}

void InputProbe::send() {
    typedKey_ = !typedKey_;
    sentAt_ = Clock::now();
    if (typedKey_) {
        typedBefore_ = window_.TextOut.Text().size();
        QCoreApplication::postEvent(
            runtime_.widget(window_.TextOut),
            new QKeyEvent(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x")));
    } else {
        // A click near the top of the receive pane puts the caret there,
        // away from the end where every tick leaves it.
        auto* pane = dynamic_cast<QAbstractScrollArea*>(runtime_.widget(window_.RTextBuf));
        QWidget* viewport = pane->viewport();
        const QPointF at(8, 8);
        const QPointF global = viewport->mapToGlobal(at);
        for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            const Qt::MouseButtons held =
                type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
            QCoreApplication::postEvent(
                viewport, new QMouseEvent(type, at, global, Qt::LeftButton, held, Qt::NoModifier));
        }
    }
    QCoreApplication::postEvent(this, new QEvent(kHandled));
    ++sent_;
}

bool InputProbe::event(QEvent* event) {
    if (event->type() != kHandled) {
        return QObject::event(event);
    }
    const auto took = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - sentAt_);
    slowest_ = std::max(slowest_, took);
    const bool acted = typedKey_ ? window_.TextOut.Text().size() > typedBefore_
                                 : static_cast<std::size_t>(window_.RTextBuf.SelStart()) <
                                       window_.RTextBuf.Text().size();
    if (!acted) {
        ++missed_;
    }
    return true;
}

}  // namespace bench
