#pragma once

#include <cstdint>

#include "platform/form.h"

namespace platform {

// Where SetWindowPos puts the window in the stacking order.
inline constexpr std::int32_t HWND_TOP = 0;
inline constexpr std::int32_t HWND_BOTTOM = 1;
inline constexpr std::int32_t HWND_TOPMOST = -1;
inline constexpr std::int32_t HWND_NOTOPMOST = -2;

inline constexpr std::uint32_t SWP_NOSIZE = 0x0001;
inline constexpr std::uint32_t SWP_NOMOVE = 0x0002;
inline constexpr std::uint32_t SWP_NOZORDER = 0x0004;

// Places a window in the stacking order, and moves and sizes it unless the
// flags say not to. HWND_TOPMOST keeps it above all other windows, also
// while it is not active; HWND_NOTOPMOST and HWND_BOTTOM end that;
// HWND_TOP leaves it as it is. x, y, cx and cy are the outer bounds in
// twips, like every position of the program; a negative size raises as
// setWidth and setHeight do. Returns nonzero.
std::int32_t SetWindowPos(Form& window, std::int32_t insertAfter, std::int32_t x, std::int32_t y,
                          std::int32_t cx, std::int32_t cy, std::uint32_t flags);

}  // namespace platform
