#pragma once

#include "platform/control.h"

namespace console {

inline constexpr platform::Color kGreen = 0xFF00;
inline constexpr platform::Color kYellow = 0xFFFF;
inline constexpr platform::Color kLightRed = 0x8080FF;
inline constexpr platform::Color kLightYellow = 0xC0FFFF;
inline constexpr platform::Color kBlue = 0xFF0000;
inline constexpr platform::Color kLightBlue = 0xFF8080;
inline constexpr platform::Color kLightCyan = 0xFFFFC0;

}  // namespace console
