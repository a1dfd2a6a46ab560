#include "platform/program_info.h"

#include <unistd.h>

#include <array>
#include <string>

#include "platform/utf.h"

namespace platform {

void SplitProgramPath(const std::u16string& path, std::u16string& folder, std::u16string& name) {
    const auto slash = path.find_last_of(u'/');
    folder = slash == std::u16string::npos ? u"." : path.substr(0, slash);
    if (folder.empty()) {
        folder = u"/";
    }
    name = slash == std::u16string::npos ? path : path.substr(slash + 1);
    const auto dot = name.find_last_of(u'.');
    if (dot != std::u16string::npos && dot > 0) {
        name.erase(dot);
    }
}

void ReadRunningProgram(Application& app) {
    std::array<char, 4096> buffer{};
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (length <= 0) {
        return;
    }
    SplitProgramPath(FromUtf8(std::string(buffer.data(), static_cast<std::size_t>(length))),
                     app.Path, app.EXEName);
}

}  // namespace platform
