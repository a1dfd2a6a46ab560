#include "about/frm_about.h"

#include <string>

#include "platform/utf.h"
#include "platform/window_placement.h"

namespace about {
namespace {

std::u16string Decimal(std::int16_t value) {
    return platform::FromUtf8(std::to_string(value));
}

}  // namespace

void frmAbout::Form_Load() {
    const platform::Application& app = runtime().App();
    setCaption(u"关于 " + app.Title);
    lblVersion.setCaption(u"版本 " + Decimal(app.Major) + u"." + Decimal(app.Minor) + u"." +
                          Decimal(app.Revision));
    lblTitle.setCaption(app.Title);
    platform::SetWindowPos(*this, platform::HWND_TOPMOST, 0, 0, 0, 0,
                           platform::SWP_NOSIZE | platform::SWP_NOMOVE);
}

void frmAbout::cmdOK_Click() {
    Unload();
}

}  // namespace about
