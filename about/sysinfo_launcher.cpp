#include <array>
#include <cstdint>
#include <exception>
#include <span>
#include <string>
#include <string_view>

#include "about/frm_about.h"
#include "platform/ansi_codepage.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/utf.h"

namespace about {
namespace {

const std::u16string gREGKEYSYSINFO = u"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const std::u16string gREGVALSYSINFO = u"PATH";
const std::u16string gREGKEYSYSINFOLOC = u"SOFTWARE\\Microsoft\\Shared Tools Location";
const std::u16string gREGVALSYSINFOLOC = u"MSINFO";
const std::u16string kSysInfoProgram = u"\\MSINFO32.EXE";

// READ_CONTROL with query, set, create sub-key, enumerate, notify and create
// link: more than reading, so a key the user may not write refuses it.
constexpr std::uint32_t kKeyAccess = 0x2003F;
constexpr std::size_t kValueBufferSize = 1024;
constexpr std::int16_t vbNormalFocus = 1;

// Closes an opened key on every way out, a failure passing through included.
class OpenKey {
  public:
    explicit OpenKey(platform::Registry& registry) : registry_(registry) {}
    ~OpenKey() {
        if (handle != 0) {
            platform::RegCloseKey(registry_, handle);
        }
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;

    std::int32_t handle = 0;

  private:
    platform::Registry& registry_;
};

std::u16string DwordText(std::span<const std::uint8_t, 4> bytes) {
    const std::uint32_t value =
        static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
        static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
    return platform::FromUtf8(std::to_string(value));
}

}  // namespace

ProgramStart SystemProgramStart() {
    return ProgramStart{[](std::u16string_view pathName, std::int16_t windowStyle) {
                            return platform::Shell(pathName, windowStyle);
                        },
                        [](std::u16string_view pathName, int attributes) {
                            return platform::Dir(pathName, attributes);
                        }};
}

void frmAbout::LaunchSysInfo() {
    StartSysInfo();
}

void frmAbout::StartSysInfo() {
    try {
        std::u16string SysInfoPath;
        if (GetKeyValue(platform::HKEY_LOCAL_MACHINE, gREGKEYSYSINFO, gREGVALSYSINFO,
                        SysInfoPath)) {
            start_.Shell(SysInfoPath, vbNormalFocus);
            return;
        }
        if (GetKeyValue(platform::HKEY_LOCAL_MACHINE, gREGKEYSYSINFOLOC, gREGVALSYSINFOLOC,
                        SysInfoPath) &&
            !start_.Dir(SysInfoPath + kSysInfoProgram, 0).empty()) {
            SysInfoPath += kSysInfoProgram;
            start_.Shell(SysInfoPath, vbNormalFocus);
            return;
        }
    } catch (const std::exception&) {
        // Every failure ends in the one message below.
    }
    runtime().MsgBox(u"此时系统信息不可用", platform::vbOKOnly);
}

bool frmAbout::GetKeyValue(const std::int32_t& KeyRoot, const std::u16string& KeyName,
                           const std::u16string& SubKeyRef, std::u16string& KeyVal) {
    OpenKey hKey(registry_);
    std::uint32_t KeyValType = 0;
    std::array<std::uint8_t, kValueBufferSize> tmpVal{};
    std::uint32_t KeyValSize = kValueBufferSize;

    if (platform::RegOpenKeyExA(registry_, KeyRoot, platform::ToAnsi(KeyName), 0, kKeyAccess,
                                hKey.handle) != platform::ERROR_SUCCESS ||
        platform::RegQueryValueExA(registry_, hKey.handle, platform::ToAnsi(SubKeyRef), 0,
                                   KeyValType, tmpVal, KeyValSize) != platform::ERROR_SUCCESS) {
        KeyVal.clear();
        return false;
    }
    std::span<const std::uint8_t> data(tmpVal.data(), KeyValSize);
    if (!data.empty() && data.back() == 0) {
        data = data.first(data.size() - 1);  // the text's terminator
    }
    switch (KeyValType) {
        case platform::REG_SZ:
            KeyVal = platform::FromAnsi(
                std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
            break;
        case platform::REG_DWORD:
            // Read from the buffer: the terminator rule may have taken a zero high byte.
            if (KeyValSize != 4) {
                KeyVal.clear();
                return false;
            }
            KeyVal = DwordText(std::span<const std::uint8_t, 4>(tmpVal.data(), 4));
            break;
        default:
            break;  // other types leave KeyVal as it was
    }
    return true;
}

}  // namespace about
