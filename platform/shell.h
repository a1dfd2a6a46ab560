#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// Attribute bits of Dir beyond ordinary files (0).
inline constexpr int kAttrHidden = 2;      // names starting with "."
inline constexpr int kAttrDirectory = 16;  // folders

// Starts a program and returns at once, without waiting for it: `pathName`
// is the program's path (a bare name is searched on PATH), optionally
// followed by arguments (see command_line.h). The program runs detached, in
// a session of its own, and is never left behind as a zombie. Returns its
// task id, the process id. `windowStyle` is accepted for the caller's sake;
// where a new program's window goes is up to the window manager here.
// Raises kErrInvalidCall for an empty path and kErrFileNotFound for a
// program that cannot be started (missing, not executable, not a program).
double Shell(std::u16string_view pathName, std::int16_t windowStyle);

// The file name part of `pathName` when an ordinary file exists there, ""
// otherwise. `attributes` adds folders (kAttrDirectory) and hidden files
// (kAttrHidden) to what counts; wildcards are not expanded.
std::u16string Dir(std::u16string_view pathName, int attributes = 0);

}  // namespace platform
