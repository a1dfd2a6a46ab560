#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// The three private-profile (INI file) calls of the original platform, in
// their ANSI forms: names, values and the file's text are in the ANSI code
// page. `path` is the file's path in the file system, as the program builds
// it from its folder: a "\" in it is part of a name, as Linux allows.
// The file format is described in profile_document.h.

// The whole number at the start of the key's value: an optional sign and the
// decimal digits that follow it, up to the first other character. Gives
// `defaultValue` when the file, the section or the key is missing, or when no
// digit stands there. Digits beyond the 32-bit range wrap around (modulo 2^32),
// so "4294967295" reads as -1.
std::int32_t GetPrivateProfileIntA(std::u16string_view section, std::u16string_view key,
                                   std::int32_t defaultValue, std::u16string_view path);

// The key's whole value text (an inline comment included), or `defaultValue`
// when the file, the section or the key is missing; in either case what a
// buffer of `size` bytes holds up to its terminator: at most size - 1 bytes of
// the ANSI code page, never half of a double-byte character, and nothing from
// a NUL byte on.
std::u16string GetPrivateProfileStringA(std::u16string_view section, std::u16string_view key,
                                        std::u16string_view defaultValue, std::size_t size,
                                        std::u16string_view path);

// Makes the key hold `value`, adding the file, the section or the key when
// missing and leaving every other byte of the file as it was. The file is
// replaced as a whole where its folder allows it, else rewritten in place
// (see file_store.h). Returns false on any failure, among them a missing
// folder, a read-only file, a new file in a read-only folder, and a line
// break in a name or the value.
bool WritePrivateProfileStringA(std::u16string_view section, std::u16string_view key,
                                std::u16string_view value, std::u16string_view path);

}  // namespace platform
