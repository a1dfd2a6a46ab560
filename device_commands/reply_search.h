#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/runtime.h"

namespace device_commands {

// The 1-based position of the first occurrence of `what` in `text`, letter
// case ignored; 0 when there is none.
std::int32_t ReplySearch(std::u16string_view text, std::u16string_view what);

// The characters of `text` from the 1-based position `start`, at most `length`
// of them; empty when `start` lies beyond the end.
std::u16string Mid(std::u16string_view text, std::int32_t start, std::int32_t length);

// A failed test: the prompt, the information icon, one OK button, the
// application's title.
void TestMessage(platform::Runtime& runtime, const std::u16string& prompt);

}  // namespace device_commands
