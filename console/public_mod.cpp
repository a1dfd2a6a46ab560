#include "console/public_mod.h"

#include <cstddef>

#include "platform/private_profile.h"

namespace console::PublicMod {
namespace {

constexpr std::int32_t kMissing = 50;
// The old value's buffer: at most one less than this, in ANSI bytes.
constexpr std::size_t kValueBuffer = 300;
// The fewest blanks left between a new value and a kept comment.
constexpr std::ptrdiff_t kCommentGap = 4;

}  // namespace

std::u16string SettingsPath(const platform::Application& App) {
    // "/": App.Path is the file system's own folder, where "\" can be part of a name.
    return App.Path + u"/" + App.EXEName + u".ini";
}

std::int32_t ReadIniInt(const platform::Application& App, std::u16string_view Section,
                        std::u16string_view IniKey) {
    return platform::GetPrivateProfileIntA(Section, IniKey, kMissing, SettingsPath(App));
}

void WriteIniValue(const platform::Application& App, std::u16string_view Section,
                   std::u16string_view IniKey, std::u16string_view NewValue) {
    const std::u16string old =
        platform::GetPrivateProfileStringA(Section, IniKey, u"", kValueBuffer, SettingsPath(App));
    std::u16string text(NewValue);
    if (const std::size_t semicolon = old.find(u';'); semicolon != old.npos) {
        // Columns count from 1: the comment's ";" stands at semicolon + 1.
        std::ptrdiff_t blanks = static_cast<std::ptrdiff_t>(semicolon + 1) -
                                static_cast<std::ptrdiff_t>(NewValue.size()) - 1;
        if (blanks < kCommentGap) {
            blanks = kCommentGap;
        }
        text.append(static_cast<std::size_t>(blanks), u' ');
        text.append(old, semicolon);
    }
    // The result is not looked at: a refused write leaves the old file.
    platform::WritePrivateProfileStringA(Section, IniKey, text, SettingsPath(App));
}

}  // namespace console::PublicMod
