#include "platform/private_profile.h"

#include <optional>

#include "platform/ansi_codepage.h"
#include "platform/ansi_text.h"
#include "platform/file_store.h"
#include "platform/profile_document.h"
#include "platform/utf.h"

namespace platform {
namespace {

// The value text of a key, or nothing when the file (readable or not), the
// section or the key is missing.
std::optional<std::string> ReadValue(std::u16string_view section, std::u16string_view key,
                                     std::u16string_view path) {
    std::string bytes;
    if (ReadWholeFile(ToUtf8(path), bytes) != FileReadResult::kRead) {
        return std::nullopt;
    }
    return ProfileDocument(bytes).Find(ToAnsi(section), ToAnsi(key));
}

std::optional<std::int32_t> LeadingNumber(std::string_view text) {
    std::size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
        negative = text[pos] == '-';
        ++pos;
    }
    const std::size_t digitsBegin = pos;
    std::uint32_t magnitude = 0;  // unsigned, so that overflow wraps
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        magnitude = magnitude * 10u + static_cast<std::uint32_t>(text[pos] - '0');
        ++pos;
    }
    if (pos == digitsBegin) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(negative ? 0u - magnitude : magnitude);
}

bool HasLineBreak(std::u16string_view text) {
    return text.find_first_of(u"\r\n") != text.npos;
}

}  // namespace

std::int32_t GetPrivateProfileIntA(std::u16string_view section, std::u16string_view key,
                                   std::int32_t defaultValue, std::u16string_view path) {
    const auto value = ReadValue(section, key, path);
    if (!value) {
        return defaultValue;
    }
    return LeadingNumber(*value).value_or(defaultValue);
}

std::u16string GetPrivateProfileStringA(std::u16string_view section, std::u16string_view key,
                                        std::u16string_view defaultValue, std::size_t size,
                                        std::u16string_view path) {
    const std::string stored = ReadValue(section, key, path).value_or(ToAnsi(defaultValue));
    if (size == 0) {
        return {};
    }
    // A NUL byte in the file would be the buffer's terminator: the text ends there.
    const std::string_view text = std::string_view(stored).substr(0, stored.find('\0'));
    return FromAnsi(text.substr(0, AnsiPrefixLength(text, size - 1)));
}

bool WritePrivateProfileStringA(std::u16string_view section, std::u16string_view key,
                                std::u16string_view value, std::u16string_view path) {
    if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value)) {
        return false;
    }
    const std::string fsPath = ToUtf8(path);
    std::string old;
    const FileReadResult read = ReadWholeFile(fsPath, old);
    if (read == FileReadResult::kFailed) {
        return false;
    }
    ProfileDocument document(old);
    document.Set(ToAnsi(section), ToAnsi(key), ToAnsi(value));
    const std::string updated = document.Text();
    if (read == FileReadResult::kRead && updated == old) {
        return true;  // nothing to change; spares the disk a rewrite
    }
    return ReplaceFile(fsPath, updated);
}

}  // namespace platform
