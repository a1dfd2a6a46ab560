#include <gtest/gtest.h>

#include <string>

#include "platform/ansi_codepage.h"

namespace {

TEST(AnsiCodePage, EachByteConvertsByItself) {
    struct Case {
        std::uint8_t byte;
        char16_t ch;
    };
    for (const Case& c : {Case{0x41, u'A'}, Case{0x0A, u'\n'}, Case{0x80, u'\u20AC'},
                          Case{0xFF, u'\uFFFD'}, Case{0xD6, u'\uFFFD'}, Case{0x81, u'\uFFFD'}}) {
        EXPECT_EQ(platform::AnsiByteToChar(c.byte), c.ch) << int(c.byte);
    }
}

TEST(AnsiCodePage, CodeOfACharacter) {
    EXPECT_EQ(platform::AnsiCode(u'A'), 65);
    EXPECT_EQ(platform::AnsiCode(u'a'), 97);
    // 中 is D6 D0 in code page 936: its code as a signed 16-bit number.
    EXPECT_EQ(platform::AnsiCode(u'中'), static_cast<std::int16_t>(0xD6D0));
    EXPECT_EQ(platform::AnsiCode(u'\u20AC'), 0x80);
    EXPECT_EQ(platform::AnsiCode(u'\u0E01'), '?');  // Thai: not in the code page
}

TEST(AnsiCodePage, TextToBytesAndBack) {
    const std::u16string text = u"AT+CSQ 信号\r\n";
    const std::string bytes = platform::ToAnsi(text);
    EXPECT_EQ(bytes, std::string("AT+CSQ \xD0\xC5\xBA\xC5\r\n"));
    EXPECT_EQ(platform::FromAnsi(bytes), text);
    // A lone lead byte at the end cannot join a partner.
    EXPECT_EQ(platform::FromAnsi("A\xD6"), u"A\uFFFD");
}

}  // namespace
