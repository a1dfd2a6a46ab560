#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// Helpers for byte strings in the ANSI code page (CP936), where a byte from
// 0x81 to 0xFE opens a double-byte character whose second byte may look like
// an ASCII letter, "[", "\" or "]". Scanning such text byte by byte must step
// over whole characters.

constexpr bool IsAnsiLeadByte(std::uint8_t byte) {
    return byte >= 0x81 && byte <= 0xFE;
}

// Bytes taken by the character that starts at `pos` (1 or 2; 1 at the end).
std::size_t AnsiCharLength(std::string_view bytes, std::size_t pos);

// The text with ASCII letters lowered; double-byte characters are left whole.
std::string AnsiFoldCase(std::string_view bytes);

// Equal without regard to ASCII letter case.
bool AnsiEqualNoCase(std::string_view a, std::string_view b);

// Position of the first character `ch` (an ASCII character) at or after
// `from`, never the second byte of a double-byte character; npos if none.
std::size_t AnsiFind(std::string_view bytes, char ch, std::size_t from = 0);

// The longest prefix length of at most `maxBytes` that ends on a character
// boundary.
std::size_t AnsiPrefixLength(std::string_view bytes, std::size_t maxBytes);

}  // namespace platform
