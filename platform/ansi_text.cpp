#include "platform/ansi_text.h"

namespace platform {
namespace {

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

std::size_t AnsiCharLength(std::string_view bytes, std::size_t pos) {
    const bool lead = IsAnsiLeadByte(static_cast<std::uint8_t>(bytes[pos]));
    return (lead && pos + 1 < bytes.size()) ? 2 : 1;
}

std::string AnsiFoldCase(std::string_view bytes) {
    std::string out(bytes);
    for (std::size_t i = 0; i < out.size(); i += AnsiCharLength(out, i)) {
        out[i] = LowerAscii(out[i]);
    }
    return out;
}

bool AnsiEqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && AnsiFoldCase(a) == AnsiFoldCase(b);
}

std::size_t AnsiFind(std::string_view bytes, char ch, std::size_t from) {
    for (std::size_t i = from; i < bytes.size(); i += AnsiCharLength(bytes, i)) {
        if (bytes[i] == ch) {
            return i;
        }
    }
    return std::string_view::npos;
}

std::size_t AnsiPrefixLength(std::string_view bytes, std::size_t maxBytes) {
    std::size_t end = 0;
    while (end < bytes.size()) {
        const std::size_t next = end + AnsiCharLength(bytes, end);
        if (next > maxBytes) {
            break;
        }
        end = next;
    }
    return end;
}

}  // namespace platform
