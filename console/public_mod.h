#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/runtime.h"

namespace console::PublicMod {

// The settings file beside the executable, named after it. Built anew from
// the application object each time, so a renamed program finds its own file.
std::u16string SettingsPath(const platform::Application& App);

// The key's value as a whole number, 50 when the file, section or key is
// missing.
std::int32_t ReadIniInt(const platform::Application& App, std::u16string_view Section,
                        std::u16string_view IniKey);

// Sets the key to NewValue. An inline ";" comment behind the old value
// stays, in its column when at least four blanks then separate it from the
// new value, else four blanks behind it.
void WriteIniValue(const platform::Application& App, std::u16string_view Section,
                   std::u16string_view IniKey, std::u16string_view NewValue);

}  // namespace console::PublicMod
