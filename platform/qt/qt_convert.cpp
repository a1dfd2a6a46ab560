#include "platform/qt/qt_convert.h"

#include <QApplication>
#include <QPixmap>
#include <QStringList>
#include <algorithm>
#include <cmath>

namespace platform::qt {

int ToPixels(double twips) {
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}

float ToTwips(int pixels) {
    return static_cast<float>(pixels * kTwipsPerPixel);
}

QRect ToPixelRect(double left, double top, double width, double height) {
    const int x = ToPixels(left);
    const int y = ToPixels(top);
    const int right = ToPixels(left + width);
    const int bottom = ToPixels(top + height);
    return {x, y, std::max(0, right - x), std::max(0, bottom - y)};
}

QString ToQString(std::u16string_view text) {
    return QString(reinterpret_cast<const QChar*>(text.data()),
                   static_cast<qsizetype>(text.size()));
}

std::u16string FromQString(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

QColor ToQColor(Color color) {
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

namespace {

QStringList Families(const std::u16string& name) {
    if (name == u"宋体" || name == u"SimSun") {
        return {QStringLiteral("SimSun"), QStringLiteral(u"宋体"),
                QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC")};
    }
    return {ToQString(name)};
}

}  // namespace

QFont ToQFont(const Font& font) {
    if (font.name.empty()) {
        return QApplication::font();
    }
    QFont result = QApplication::font();
    result.setFamilies(Families(font.name));
    if (font.size > 0) {
        result.setPointSizeF(font.size);
    }
    result.setWeight(static_cast<QFont::Weight>(std::clamp(font.weight, 1, 1000)));
    return result;
}

QImage ToQImage(const Picture& picture) {
    if (picture.empty() || picture.width <= 0 || picture.height <= 0) {
        return {};
    }
    QImage image(picture.width, picture.height, QImage::Format_ARGB32);
    for (int y = 0; y < picture.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < picture.width; ++x) {
            const auto index = static_cast<std::size_t>(y * picture.width + x);
            line[x] = index < picture.pixels.size() ? picture.pixels[index] : 0;
        }
    }
    return image;
}

QIcon ToQIcon(const Picture& picture) {
    if (picture.empty()) {
        QPixmap clear(16, 16);
        clear.fill(Qt::transparent);
        return QIcon(clear);
    }
    return QIcon(QPixmap::fromImage(ToQImage(picture)));
}

namespace {

Qt::CursorShape StockShape(std::int16_t mousePointer) {
    switch (mousePointer) {
        case 2:
            return Qt::CrossCursor;
        case 3:
            return Qt::IBeamCursor;
        case 5:
        case 15:
            return Qt::SizeAllCursor;
        case 6:
            return Qt::SizeBDiagCursor;
        case 7:
            return Qt::SizeVerCursor;
        case 8:
            return Qt::SizeFDiagCursor;
        case 9:
            return Qt::SizeHorCursor;
        case 10:
            return Qt::UpArrowCursor;
        case 11:
            return Qt::WaitCursor;
        case 12:
            return Qt::ForbiddenCursor;
        case 13:
            return Qt::BusyCursor;
        case 14:
            return Qt::WhatsThisCursor;
        default:
            return Qt::ArrowCursor;
    }
}

}  // namespace

bool IsDefaultPointer(std::int16_t mousePointer, const Picture& mouseIcon) {
    return mousePointer == vbDefault || (mousePointer == vbCustom && mouseIcon.empty());
}

QCursor ToQCursor(std::int16_t mousePointer, const Picture& mouseIcon) {
    if (mousePointer == vbCustom && !mouseIcon.empty()) {
        return QCursor(QPixmap::fromImage(ToQImage(mouseIcon)), mouseIcon.hotX, mouseIcon.hotY);
    }
    return QCursor(StockShape(mousePointer));
}

}  // namespace platform::qt
