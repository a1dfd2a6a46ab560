#include "platform/qt/key_ascii.h"

#include <gtest/gtest.h>

#include "platform/ansi_codepage.h"

namespace {

using platform::qt::KeyAsciiOf;
using platform::qt::KeyEventFor;
using platform::qt::kNoKeyAscii;

TEST(KeyAscii, CodesOfTypedKeys) {
    struct Case {
        int key;
        Qt::KeyboardModifiers modifiers;
        QString text;
        std::int16_t code;
    };
    const Case cases[] = {
        {Qt::Key_A, Qt::NoModifier, QStringLiteral("a"), 97},
        {Qt::Key_A, Qt::ShiftModifier, QStringLiteral("A"), 65},
        {Qt::Key_1, Qt::NoModifier, QStringLiteral("1"), 49},
        {Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), 32},
        {Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"), 13},
        {Qt::Key_Enter, Qt::KeypadModifier, QStringLiteral("\r"), 13},
        {Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b"), 8},
        {Qt::Key_Escape, Qt::NoModifier, QString(QChar(0x1B)), 27},
        {Qt::Key_C, Qt::ControlModifier, QString(), 3},
        {Qt::Key_Z, Qt::ControlModifier, QString(QChar(26)), 26},
        {Qt::Key_A, Qt::AltModifier, QStringLiteral("a"), kNoKeyAscii},
        {Qt::Key_Left, Qt::NoModifier, QString(), kNoKeyAscii},
        {Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"), kNoKeyAscii},
        {Qt::Key_Delete, Qt::NoModifier, QString(QChar(0x7F)), kNoKeyAscii},
        {Qt::Key_unknown, Qt::NoModifier, QStringLiteral(u"中"), platform::AnsiCode(u'中')},
    };
    for (const Case& c : cases) {
        const QKeyEvent event(QEvent::KeyPress, c.key, c.modifiers, c.text);
        EXPECT_EQ(KeyAsciiOf(event), c.code) << "key " << c.key;
    }
}

TEST(KeyAscii, ReplacementKeysTypeTheirCharacter) {
    struct Case {
        std::int16_t code;
        int key;
        QString text;
    };
    const Case cases[] = {
        {98, Qt::Key_B, QStringLiteral("b")},
        {13, Qt::Key_Return, QStringLiteral("\r")},
        {8, Qt::Key_Backspace, QStringLiteral("\b")},
        {22, Qt::Key_V, QString(QChar(22))},
        {platform::AnsiCode(u'中'), Qt::Key_unknown, QStringLiteral(u"中")},
    };
    for (const Case& c : cases) {
        const auto event = KeyEventFor(c.code);
        ASSERT_NE(event, nullptr) << "code " << c.code;
        EXPECT_EQ(event->key(), c.key) << "code " << c.code;
        EXPECT_EQ(event->text(), c.text) << "code " << c.code;
    }
    EXPECT_EQ(KeyEventFor(30), nullptr);
}

}  // namespace
