#include <array>
#include <string>
#include <utility>

#include "console/colors.h"
#include "console/pictures.h"
#include "console/tamsel.h"

namespace console {
namespace {

const platform::Font kSongTi105{u"宋体", 10.5F, 400, 134};
const platform::Font kSongTi12{u"宋体", 12.0F, 400, 134};

template <std::size_t... I>
std::array<platform::CommandButton, sizeof...(I)> MakeKeypad(platform::Form& form,
                                                             std::index_sequence<I...>) {
    return {platform::CommandButton(form, u"ComDial", static_cast<std::int16_t>(I))...};
}

void Place(platform::Control& control, float left, float top, float width, float height,
           std::int16_t tabIndex) {
    control.Move(left, top, width, height);
    control.setTabIndex(tabIndex);
}

}  // namespace

Tamsel::Tamsel(platform::Runtime& runtime)
    : Form(runtime, u"Tamsel"),
      ComboPort(*this, u"ComboPort"),
      ComboSpeed(*this, u"ComboSpeed"),
      ComStartStop(*this, u"ComStartStop"),
      ComVersion(*this, u"ComVersion"),
      TextPIN(*this, u"TextPIN"),
      ComPIN(*this, u"ComPIN"),
      ComSignal(*this, u"ComSignal"),
      Comcops(*this, u"Comcops"),
      ComCallID(*this, u"ComCallID"),
      Command3(*this, u"Command3"),
      TextNumber(*this, u"TextNumber"),
      Command1(*this, u"Command1"),
      ComHandOff(*this, u"ComHandOff"),
      ComDial(MakeKeypad(*this, std::make_index_sequence<12>{})),
      LabelDTR(*this, u"LabelDTR"),
      LabelRTS(*this, u"LabelRTS"),
      Label3(*this, u"Label3"),
      TextSend(*this, u"TextSend"),
      Label4(*this, u"Label4"),
      TextReceive(*this, u"TextReceive"),
      LabelDSR(*this, u"LabelDSR"),
      LabelCTS(*this, u"LabelCTS"),
      LabelCD(*this, u"LabelCD"),
      CheckDisplay(*this, u"CheckDisplay"),
      TextOut(*this, u"TextOut"),
      LabelMove(*this, u"LabelMove"),
      RTextBuf(*this, u"RTextBuf"),
      TimerRead(*this, u"TimerRead"),
      TimerDelay(*this, u"TimerDelay") {
    design();
    designControls();
    Load = [this] { Form_Load(); };
}

Tamsel::~Tamsel() = default;

void Tamsel::design() {
    setCaption(u"串口调试器");
    setBorderStyle(platform::vbSizable);
    setClientSize(7995, 9120);
    setLeft(5175);
    setTop(1035);
    setBackColor(kBlue);
    setIcon(WindowIcon());
}

void Tamsel::designControls() {
    Place(ComboPort, 120, 120, 1325, 315, 0);
    ComboPort.setBackColor(kLightCyan);
    for (int port = 1; port <= 6; ++port) {
        ComboPort.AddItem(u"COM " + std::u16string(1, static_cast<char16_t>(u'0' + port)));
    }
    Place(ComboSpeed, 120, 480, 1325, 315, 1);
    ComboSpeed.setBackColor(kLightCyan);
    for (const char16_t* speed :
         {u"50bps", u"75bps", u"110bps", u"150bps", u"300bps", u"600bps", u"1200bps", u"2400bps",
          u"4800bps", u"9600bps", u"14400bps", u"19200bps", u"28800bps", u"38400bps", u"57600bps",
          u"115200bps", u"128000bps", u"256000bps"}) {
        ComboSpeed.AddItem(speed);
    }
    Place(ComStartStop, 120, 840, 1335, 375, 2);
    ComStartStop.setCaption(u"打 开 端 口");

    Place(ComVersion, 120, 1260, 1335, 375, 16);
    ComVersion.setCaption(u"设备初始化");
    Place(TextPIN, 120, 1680, 615, 315, 19);
    TextPIN.setText(u"7395");
    TextPIN.setMaxLength(4);
    TextPIN.setFont(kSongTi105);
    Place(ComPIN, 780, 1680, 675, 375, 18);
    ComPIN.setCaption(u"PIN码");
    Place(ComSignal, 120, 2100, 615, 375, 17);
    ComSignal.setCaption(u"信号");
    Place(Comcops, 840, 2100, 615, 375, 36);
    Comcops.setCaption(u"网络");
    Place(ComCallID, 120, 2520, 710, 375, 35);
    ComCallID.setCaption(u"读来电");
    Place(Command3, 840, 2520, 615, 375, 20);
    Command3.setCaption(u"拨号");
    Place(TextNumber, 120, 2940, 1325, 315, 21);
    TextNumber.setText(u"10086");
    TextNumber.setMaxLength(20);
    TextNumber.setFont(kSongTi105);
    Place(Command1, 120, 3300, 615, 435, 37);
    Command1.setCaption(u"摘机");
    Place(ComHandOff, 765, 3300, 675, 435, 22);
    ComHandOff.setCaption(u"挂机");

    static constexpr std::array<const char16_t*, 12> kKeys = {u"1", u"2", u"3", u"4", u"5", u"6",
                                                              u"7", u"8", u"9", u"*", u"0", u"#"};
    static constexpr std::array<float, 3> kColumns = {120, 600, 1080};
    static constexpr std::array<float, 4> kRows = {3780, 4140, 4500, 4860};
    for (std::size_t i = 0; i < ComDial.size(); ++i) {
        Place(ComDial[i], kColumns[i % 3], kRows[i / 3], 375, 315,
              static_cast<std::int16_t>(23 + i));
        ComDial[i].setCaption(kKeys[i]);
        ComDial[i].setFont(kSongTi105);
    }

    Place(LabelDTR, 120, 5220, 1325, 255, 3);
    LabelDTR.setToolTipText(u"改变DTR的状态");
    Place(LabelRTS, 120, 5520, 1325, 255, 4);
    LabelRTS.setToolTipText(u"改变RTS的状态");
    Place(Label3, 120, 5880, 375, 255, 9);
    Label3.setCaption(u"发送");
    Label3.setBackColor(kLightBlue);
    Place(TextSend, 520, 5835, 200, 270, 11);
    TextSend.setBackColor(kYellow);
    TextSend.setEnabled(false);
    Place(Label4, 800, 5880, 375, 255, 10);
    Label4.setCaption(u"接收");
    Label4.setBackColor(kLightBlue);
    Place(TextReceive, 1240, 5835, 200, 270, 12);
    TextReceive.setBackColor(kYellow);
    TextReceive.setEnabled(false);
    Place(LabelDSR, 120, 6180, 1325, 255, 13);
    Place(LabelCTS, 120, 6480, 1325, 255, 14);
    Place(LabelCD, 120, 6780, 1325, 255, 15);
    for (platform::Label* status : {&LabelDTR, &LabelRTS, &LabelDSR, &LabelCTS, &LabelCD}) {
        status->setCaption(u"Label5");
        status->setBackColor(kGreen);
        status->setBorderStyle(1);
    }
    LabelDSR.setBackColor(kLightYellow);
    Place(CheckDisplay, 120, 7080, 1400, 255, 5);
    CheckDisplay.setCaption(u"显示十六进制");
    CheckDisplay.setBackColor(kLightBlue);
    CheckDisplay.setForeColor(kBlue);

    for (platform::RichTextBox* pane : {&TextOut, &RTextBuf}) {
        pane->setText(u"RichTextBox1");
        pane->setFont(kSongTi12);
        pane->setBackColor(platform::kWindowColor);
    }
    Place(TextOut, 1560, 0, 6615, 2175, 6);
    Place(LabelMove, 1560, 2520, 6615, 255, 8);
    LabelMove.setCaption(std::u16string(41, u'-'));
    LabelMove.setBackColor(kBlue);
    LabelMove.setMouseIcon(SplitterCursor());
    LabelMove.setMousePointer(platform::vbCustom);
    Place(RTextBuf, 1560, 3120, 6615, 3855, 7);
}

}  // namespace console
