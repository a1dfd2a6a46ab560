#include "platform/file_path.h"

#include "platform/utf.h"

namespace platform {

std::string FileSystemPath(std::u16string_view path) {
    std::u16string text(path);
    for (char16_t& ch : text) {
        if (ch == u'\\') {
            ch = u'/';
        }
    }
    return ToUtf8(text);
}

std::u16string_view FileNamePart(std::u16string_view path) {
    const std::size_t slash = path.find_last_of(u"/\\");
    return slash == std::u16string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace platform
