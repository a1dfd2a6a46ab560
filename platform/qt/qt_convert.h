#pragma once

#include <QColor>
#include <QCursor>
#include <QFont>
#include <QIcon>
#include <QImage>
#include <QRect>
#include <QString>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/control.h"
#include "platform/font.h"
#include "platform/picture.h"

namespace platform::qt {

// Windows are laid out at 96 dots per inch: 15 twips to a pixel. Qt scales
// these device-independent pixels for high-DPI screens.
inline constexpr double kTwipsPerPixel = 15.0;

int ToPixels(double twips);
float ToTwips(int pixels);
// A rectangle in twips as pixels; its edges are rounded, so neighbours stay flush.
QRect ToPixelRect(double left, double top, double width, double height);

QString ToQString(std::u16string_view text);
std::u16string FromQString(const QString& text);

// &HBBGGRR to a Qt colour.
QColor ToQColor(Color color);

// An empty name is the application's default font; "宋体" falls back to an
// installed font with the CJK characters.
QFont ToQFont(const Font& font);

QImage ToQImage(const Picture& picture);
// An empty picture gives a transparent icon, so the window shows none.
QIcon ToQIcon(const Picture& picture);
// MousePointer and MouseIcon of a control; vbDefault gives the widget's own cursor.
QCursor ToQCursor(std::int16_t mousePointer, const Picture& mouseIcon);
bool IsDefaultPointer(std::int16_t mousePointer, const Picture& mouseIcon);

}  // namespace platform::qt
