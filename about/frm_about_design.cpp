#include <utility>

#include "about/frm_about.h"
#include "platform/runtime_error.h"

namespace about {
namespace {

constexpr std::int16_t kInsideSolid = 6;

const platform::Font kSongTi105{u"宋体", 10.5F, 400, 134};
const platform::Font kSongTi12{u"宋体", 12.0F, 400, 134};
const platform::Font kSongTi24Bold{u"宋体", 24.0F, 700, 134};

void Place(platform::Control& control, float left, float top, float width, float height,
           std::int16_t tabIndex) {
    control.Move(left, top, width, height);
    control.setTabIndex(tabIndex);
}

}  // namespace

frmAbout::frmAbout(platform::Runtime& runtime, platform::Registry& registry, ProgramStart start)
    : Form(runtime, u"frmAbout"),
      cmdOK(*this, u"cmdOK"),
      Label1(*this, u"Label1"),
      line1Grey_(*this, u"Line1", 1),
      lblDescription(*this, u"lblDescription"),
      lblTitle(*this, u"lblTitle"),
      line1White_(*this, u"Line1", 0),
      lblVersion(*this, u"lblVersion"),
      registry_(registry),
      start_(std::move(start)) {
    design();
    designControls();
    Load = [this] { Form_Load(); };
    cmdOK.Click = [this] { cmdOK_Click(); };
}

frmAbout::~frmAbout() = default;

platform::Line& frmAbout::Line1(std::int16_t index) {
    if (index == 0) {
        return line1White_;
    }
    if (index == 1) {
        return line1Grey_;
    }
    platform::Raise(platform::kErrSubscript);
}

void frmAbout::design() {
    setBorderStyle(platform::vbFixedDialog);
    setMinButton(false);
    setMaxButton(false);
    setShowInTaskbar(false);
    setClientSize(5730, 3195);
    // The design puts the client area's corner at 6150, 1995; the window's
    // own corner lies one border to the left and a caption and border above.
    setLeft(6150 - frameWidth() / 2);
    setTop(1995 - (frameHeight() - frameWidth() / 2));
}

void frmAbout::designControls() {
    Place(cmdOK, 840, 2640, 1500, 345, 0);
    cmdOK.setCaption(u"确定");
    cmdOK.setDefault(true);
    cmdOK.setCancel(true);

    Place(Label1, 1080, 1860, 3375, 315, 4);
    Label1.setCaption(u"问题与建议请反馈给本单位设备组");
    Label1.setFont(kSongTi105);

    line1Grey_.setPoints(90, 2445, 5654, 2445);
    line1Grey_.setBorderColor(0x808080);
    line1Grey_.setBorderWidth(1);
    line1Grey_.setBorderStyle(kInsideSolid);

    Place(lblDescription, 1020, 1560, 3165, 225, 1);
    lblDescription.setCaption(u"GSM 模块台架检测工具");
    lblDescription.setFont(kSongTi105);
    lblDescription.setForeColor(0x000000);

    Place(lblTitle, 1320, 360, 3045, 480, 2);
    lblTitle.setFont(kSongTi24Bold);
    lblTitle.setForeColor(0x0000FF);

    line1White_.setPoints(105, 2460, 5654, 2460);
    line1White_.setBorderColor(0xFFFFFF);
    line1White_.setBorderWidth(2);

    Place(lblVersion, 1080, 1200, 3885, 225, 3);
    lblVersion.setFont(kSongTi12);
}

}  // namespace about
