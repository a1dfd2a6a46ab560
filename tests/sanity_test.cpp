#include <gtest/gtest.h>

#include "platform/ansi_codepage.h"
#include "platform/runtime_error.h"

TEST(AnsiCodePage, SingleBytes) {
    EXPECT_EQ(platform::AnsiByteToChar(0x41), u'A');
    EXPECT_EQ(platform::AnsiByteToChar(0x80), u'\u20AC');
    EXPECT_EQ(platform::AnsiByteToChar(0xFF), u'\uFFFD');
    EXPECT_EQ(platform::AnsiByteToChar(0xD6), u'\uFFFD');
}
