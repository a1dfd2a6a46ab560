#pragma once

#include <QKeyEvent>
#include <cstdint>
#include <memory>

namespace platform::qt {

inline constexpr std::int16_t kNoKeyAscii = -1;

// The character code KeyPress gets for a key: Enter 13, Backspace 8, Esc 27,
// Ctrl+letter 1..26, a printable character its code in the ANSI code page.
// Keys that type no character (arrows, Tab, function keys) give kNoKeyAscii.
std::int16_t KeyAsciiOf(const QKeyEvent& event);

// A key event that types the character of `keyAscii` instead; nullptr for a
// code that types nothing.
std::unique_ptr<QKeyEvent> KeyEventFor(std::int16_t keyAscii);

}  // namespace platform::qt
