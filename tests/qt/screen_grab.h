#pragma once

#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

namespace korvel_test {

// A widget as its window shows it now, the paints so far included.
inline QImage OnScreen(const QWidget& widget) {
    const QWidget& top = *widget.window();
    const QRect place(widget.mapTo(&top, QPoint(0, 0)), widget.size());
    return top.screen()
        ->grabWindow(top.winId(), place.x(), place.y(), place.width(), place.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

// The same widget as one whole new paint draws it.
inline QImage WholePaint(QWidget& widget) {
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

}  // namespace korvel_test
