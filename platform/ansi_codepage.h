#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// The ANSI code page of the program: code page 936 (GBK).

// The character one byte gives when converted by itself. A byte that the code
// page uses only as the first of two (and 0xFF) gives U+FFFD.
char16_t AnsiByteToChar(std::uint8_t byte);

// The code of a character: a single-byte character gives its byte, a
// double-byte character its two-byte code as a signed 16-bit number; a
// character the code page lacks gives the code of "?".
std::int16_t AnsiCode(char16_t ch);

// The character of a code as AnsiCode gives it: a byte, or a double-byte
// character's two-byte code as a signed 16-bit number. Empty for 0.
std::u16string AnsiCodeToText(std::int16_t code);

// Text to bytes of the code page; characters it lacks become "?".
std::string ToAnsi(std::u16string_view text);

// Bytes of the code page to text; a byte that cannot be converted gives U+FFFD.
std::u16string FromAnsi(std::string_view bytes);

}  // namespace platform
