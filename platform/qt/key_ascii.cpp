#include "platform/qt/key_ascii.h"

#include <string>

#include "platform/ansi_codepage.h"
#include "platform/qt/qt_convert.h"

namespace platform::qt {
namespace {

constexpr std::int16_t kBackspace = 8;
constexpr std::int16_t kEnter = 13;
constexpr std::int16_t kEscape = 27;

}  // namespace

std::int16_t KeyAsciiOf(const QKeyEvent& event) {
    const int key = event.key();
    const Qt::KeyboardModifiers mods = event.modifiers();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        return kEnter;
    }
    if (key == Qt::Key_Backspace) {
        return kBackspace;
    }
    if (key == Qt::Key_Escape) {
        return kEscape;
    }
    const bool control = (mods & Qt::ControlModifier) != 0;
    const bool altOrMeta = (mods & (Qt::AltModifier | Qt::MetaModifier)) != 0;
    if (control && !altOrMeta && key >= Qt::Key_A && key <= Qt::Key_Z) {
        return static_cast<std::int16_t>(key - Qt::Key_A + 1);
    }
    if (control || altOrMeta) {
        return kNoKeyAscii;
    }
    const QString text = event.text();
    if (text.isEmpty()) {
        return kNoKeyAscii;
    }
    const char16_t ch = text.at(0).unicode();
    if (ch < 0x20 || ch == 0x7F) {
        return kNoKeyAscii;
    }
    return AnsiCode(ch);
}

std::unique_ptr<QKeyEvent> KeyEventFor(std::int16_t keyAscii) {
    if (keyAscii == kEnter) {
        return std::make_unique<QKeyEvent>(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier,
                                           QStringLiteral("\r"));
    }
    if (keyAscii == kBackspace) {
        return std::make_unique<QKeyEvent>(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier,
                                           QStringLiteral("\b"));
    }
    if (keyAscii == kEscape) {
        return std::make_unique<QKeyEvent>(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier,
                                           QString(QChar(0x1B)));
    }
    if (keyAscii >= 1 && keyAscii <= 26) {
        return std::make_unique<QKeyEvent>(QEvent::KeyPress, Qt::Key_A + keyAscii - 1,
                                           Qt::ControlModifier, QString(QChar(keyAscii)));
    }
    if (keyAscii > 0 && keyAscii < 0x20) {
        return nullptr;
    }
    const std::u16string typed = AnsiCodeToText(keyAscii);
    if (typed.empty()) {
        return nullptr;
    }
    const QString text = ToQString(typed);
    const char16_t ch = typed.front();
    // Latin letters and digits carry their own key, so shortcuts see a real key.
    int key = Qt::Key_unknown;
    if (ch >= u' ' && ch < 0x7F) {
        key = QChar(ch).toUpper().unicode();
    }
    return std::make_unique<QKeyEvent>(QEvent::KeyPress, key, Qt::NoModifier, text);
}

}  // namespace platform::qt
