#include "console/vb_text.h"

#include <charconv>
#include <cmath>
#include <string>

#include "platform/utf.h"

namespace console {
namespace {

// Blanks, tabs and line feeds do not count in a number's text.
bool IsStripped(char16_t ch) {
    return ch == u' ' || ch == u'\t' || ch == u'\n';
}

}  // namespace

std::u16string Str(std::int64_t value) {
    return platform::FromUtf8(std::to_string(value));
}

std::u16string NumberText(double value) {
    if (std::nearbyint(value) == value && std::abs(value) < 1e15) {
        return Str(static_cast<std::int64_t>(value));
    }
    // Shortest text that reads back as the same single-precision value,
    // always in plain digits: a tiny fraction must not come out as "1e-04".
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<float>(value),
                                      std::chars_format::fixed);
    return platform::FromUtf8(std::string(buffer, result.ptr));
}

double Val(std::u16string_view text) {
    std::string digits;
    bool point = false;
    std::size_t i = 0;
    while (i < text.size() && IsStripped(text[i])) {
        ++i;
    }
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        digits += static_cast<char>(text[i]);
        ++i;
    }
    for (; i < text.size(); ++i) {
        const char16_t ch = text[i];
        if (IsStripped(ch)) {
            continue;  // Val skips blanks inside the number too
        }
        if (ch >= u'0' && ch <= u'9') {
            digits += static_cast<char>(ch);
        } else if (ch == u'.' && !point) {
            point = true;
            digits += '.';
        } else {
            break;
        }
    }
    double value = 0;
    const char* begin = digits.data();
    if (!digits.empty() && digits[0] == '+') {
        ++begin;
    }
    std::from_chars(begin, digits.data() + digits.size(), value);
    return value;
}

}  // namespace console
