#pragma once

#include <string>
#include <string_view>

namespace platform {

// The file-system form of a path in the original platform's form, as Shell
// and Dir get them (a folder from the registry, joined to a program's name
// with "\"): "\" is taken as a separator like "/"; the result is UTF-8.
// Paths built on the program's own folder are the file system's already.
std::string FileSystemPath(std::u16string_view path);

// The last component of a path: the text after its last "/" or "\".
std::u16string_view FileNamePart(std::u16string_view path);

}  // namespace platform
