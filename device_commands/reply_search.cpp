#include "device_commands/reply_search.h"

#include <algorithm>

namespace device_commands {
namespace {

char16_t Folded(char16_t ch) {
    if (ch >= u'a' && ch <= u'z') {
        return static_cast<char16_t>(ch - u'a' + u'A');
    }
    return ch;
}

}  // namespace

std::int32_t ReplySearch(std::u16string_view text, std::u16string_view what) {
    if (what.empty()) {
        return text.empty() ? 0 : 1;
    }
    const auto found = std::search(text.begin(), text.end(), what.begin(), what.end(),
                                   [](char16_t a, char16_t b) { return Folded(a) == Folded(b); });
    if (found == text.end()) {
        return 0;
    }
    return static_cast<std::int32_t>(found - text.begin()) + 1;
}

std::u16string Mid(std::u16string_view text, std::int32_t start, std::int32_t length) {
    if (start < 1 || length <= 0 || static_cast<std::size_t>(start) > text.size()) {
        return {};
    }
    return std::u16string(
        text.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(length)));
}

void TestMessage(platform::Runtime& runtime, const std::u16string& prompt) {
    runtime.MsgBox(prompt, platform::vbOKOnly | platform::vbInformation);
}

}  // namespace device_commands
