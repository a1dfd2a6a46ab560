#include <cstdint>

#include "console/public_mod.h"
#include "console/tamsel.h"
#include "console/whole_number.h"

namespace console {
namespace {

constexpr std::int32_t kLastPort = 5;
constexpr std::int32_t kLastSpeed = 17;
constexpr std::int32_t kDefaultSpeed = 6;  // "1200bps"
constexpr std::int32_t kMinWidth = 3000;
constexpr std::int32_t kDefaultWidth = 8000;
constexpr std::int32_t kMinHeight = 1500;
constexpr std::int32_t kDefaultHeight = 6000;

// A stored position the list cannot take (below -1) selects nothing rather
// than failing the start.
std::int16_t ListPosition(std::int32_t stored, const platform::ComboBox& list) {
    return (stored < -1 || stored >= list.ListCount()) ? std::int16_t{-1}
                                                       : static_cast<std::int16_t>(stored);
}

}  // namespace

void Tamsel::RestoreSettings() {
    const platform::Application& app = runtime().App();

    std::int32_t port = PublicMod::ReadIniInt(app, u"TamselSet", u"Port");
    if (port > kLastPort) {
        port = 0;
    }
    ComboPort.setListIndex(ListPosition(port, ComboPort));

    std::int32_t speed = PublicMod::ReadIniInt(app, u"TamselSet", u"Speed");
    if (speed > kLastSpeed) {
        speed = kDefaultSpeed;
    }
    ComboSpeed.setListIndex(ListPosition(speed, ComboSpeed));  // runs ComboSpeed_Click

    std::int32_t top = PublicMod::ReadIniInt(app, u"Point", u"Top");
    if (static_cast<double>(runtime().Screen().Height) - 1000.0 < top) {
        top = WholeNumber(static_cast<double>(runtime().Screen().Height) / 5.0);
    }
    if (top < 0) {
        top = 0;
    }
    setTop(static_cast<float>(top));

    std::int32_t left = PublicMod::ReadIniInt(app, u"Point", u"Left");
    if (left < 0) {
        left = 0;
    }
    if (static_cast<double>(runtime().Screen().Width) - 1500.0 < left) {
        left = WholeNumber(static_cast<double>(runtime().Screen().Width) / 5.0);
    }
    setLeft(static_cast<float>(left));

    std::int32_t width = PublicMod::ReadIniInt(app, u"Point", u"Width");
    if (width < kMinWidth) {
        width = kDefaultWidth;
    }
    setWidth(static_cast<float>(width));

    std::int32_t height = PublicMod::ReadIniInt(app, u"Point", u"Height");
    if (height < kMinHeight) {
        height = kDefaultHeight;
    }
    setHeight(static_cast<float>(height));

    // A minimised window comes back normal; a state the window cannot take
    // (below 0) leaves it normal as well.
    const std::int32_t state = PublicMod::ReadIniInt(app, u"Point", u"WindowState");
    if (state == platform::vbNormal || state == platform::vbMaximized) {
        setWindowState(static_cast<std::int16_t>(state));
    }
}

}  // namespace console
