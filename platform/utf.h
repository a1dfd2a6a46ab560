#pragma once

#include <string>
#include <string_view>

namespace platform {

// Conversions between the program's text (UTF-16, one unit per character as
// the program counts them) and UTF-8 for file names and the C library.
std::string ToUtf8(std::u16string_view text);
std::u16string FromUtf8(std::string_view text);

}  // namespace platform
