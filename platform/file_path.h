#pragma once

#include <string>
#include <string_view>

namespace platform {

// The file-system form of a path given as program text. The program builds
// paths with "\" as it would on its original platform ("folder\name.ini"),
// so "\" is taken as a separator like "/"; the result is UTF-8.
std::string FileSystemPath(std::u16string_view path);

// The last component of a path: the text after its last "/" or "\".
std::u16string_view FileNamePart(std::u16string_view path);

}  // namespace platform
