#include <cstdint>

#include "console/public_mod.h"
#include "console/tamsel.h"
#include "console/vb_text.h"
#include "platform/ignored_failures.h"

namespace console {

// Closing is never refused: Cancel stays as it is, and a failing step only
// loses what that step would have saved.
void Tamsel::Form_Unload(std::int16_t&) {
    platform::IgnoredFailures onError;
    const platform::Application& app = runtime().App();
    onError.step([&] {
        if (MSComm.PortOpen()) {
            MSComm.setPortOpen(false);
        }
    });
    onError.step(
        [&] { PublicMod::WriteIniValue(app, u"TamselSet", u"Port", Str(ComboPort.ListIndex())); });
    onError.step([&] {
        PublicMod::WriteIniValue(app, u"TamselSet", u"Speed", Str(ComboSpeed.ListIndex()));
    });
    const std::int32_t state = WindowState();
    // The normal window's placement is what comes back at the next start.
    onError.step([&] {
        if (WindowState() == platform::vbMaximized || WindowState() == platform::vbMinimized) {
            setWindowState(platform::vbNormal);
        }
    });
    onError.step([&] { PublicMod::WriteIniValue(app, u"Point", u"Top", NumberText(Top())); });
    onError.step([&] { PublicMod::WriteIniValue(app, u"Point", u"Left", NumberText(Left())); });
    onError.step([&] { PublicMod::WriteIniValue(app, u"Point", u"Width", NumberText(Width())); });
    onError.step([&] { PublicMod::WriteIniValue(app, u"Point", u"Height", NumberText(Height())); });
    onError.step([&] { PublicMod::WriteIniValue(app, u"Point", u"WindowState", Str(state)); });
}

}  // namespace console
