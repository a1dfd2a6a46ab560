#include "console/colors.h"
#include "console/port_settings.h"
#include "console/tamsel.h"
#include "console/version_caption.h"
#include "platform/ignored_failures.h"
#include "platform/runtime_error.h"

namespace console {

void Tamsel::ComStartStop_Click() {
    if (PortOpened) {
        closePort();
    } else {
        openPort();
    }
}

void Tamsel::openPort() {
    platform::IgnoredFailures onError;
    onError.step([&] { MSComm.setSettings(PortSettings(ComboSpeed.Text())); });
    onError.step([&] { MSComm.setCommPort(static_cast<std::int16_t>(ComboPort.ListIndex() + 1)); });
    onError.clear();
    onError.step([&] { MSComm.setPortOpen(true); });
    if (onError.number() != 0) {
        const std::u16string reason = onError.text();
        onError.step([&] {
            runtime().MsgBox(u"串口不能被打开:" + ComboPort.Text() + u" " +
                                 PortSettings(ComboSpeed.Text()) + u"\r\n" + reason,
                             platform::vbOKOnly);
        });
        bool open = true;  // a state that cannot be read counts as open
        onError.step([&] { open = MSComm.PortOpen(); });
        if (open) {
            onError.step([&] { MSComm.setPortOpen(false); });
        }
        return;
    }
    onError.step([&] { MSComm.setInputLen(0); });
    onError.step([&] { MSComm.setInputMode(1); });
    onError.step([&] { MSComm.setHandshaking(0); });
    onError.step([&] { MSComm.setRThreshold(0); });
    onError.step([&] { MSComm.setSThreshold(0); });
    onError.step([&] { MSComm.setRTSEnable(true); });
    onError.step([&] { TimerRead.setInterval(5); });
    onError.step([&] { TimerRead.setEnabled(true); });
    onError.step([&] { UpdateLineStatus(); });
    SendLen = 0;
    SendPos = 0;
    SendPending = false;
    PortOpened = true;
    onError.step([&] { ComStartStop.setCaption(u"关 闭 端 口"); });
    onError.step([&] { ComboPort.setEnabled(false); });
    onError.step([&] { ComboSpeed.setEnabled(true); });
    onError.step([&] { TextOut.setEnabled(true); });
    onError.step([&] { TextOut.setText(u""); });
    onError.step([&] { TextOut.SetFocus(); });
    onError.step([&] {
        setCaption(u"测试中连接 " + ComboPort.Text() + u" 状态" + SpeedText(ComboSpeed.Text()) +
                   u",N,8,1 ......");
    });
}

void Tamsel::closePort() {
    platform::IgnoredFailures onError;
    onError.step([&] { TimerRead.setEnabled(false); });
    onError.step([&] { MSComm.setPortOpen(false); });
    PortOpened = false;
    onError.step([&] { ComStartStop.setCaption(u"打 开 端 口"); });
    onError.step([&] { ComboPort.setEnabled(true); });
    onError.step([&] { ComboSpeed.setEnabled(true); });
    onError.step([&] { TextOut.setEnabled(false); });
    onError.step([&] { TextOut.setText(u"请先打开端口!"); });
    const std::pair<platform::Label*, const char16_t*> neutral[] = {{&LabelDTR, u"DTR"},
                                                                    {&LabelRTS, u"RTS"},
                                                                    {&LabelDSR, u"DSR"},
                                                                    {&LabelCTS, u"CTS"},
                                                                    {&LabelCD, u"CD"}};
    for (const auto& [label, caption] : neutral) {
        onError.step([&] { label->setCaption(caption); });
        onError.step([&] { label->setBackColor(kLightYellow); });
    }
    onError.step([&] { setCaption(VersionCaption(runtime().App())); });
}

void Tamsel::ComboSpeed_Click() {
    platform::IgnoredFailures onError;
    onError.clear();
    onError.step([&] { MSComm.setSettings(PortSettings(ComboSpeed.Text())); });
    if (onError.number() == 0 && PortOpened) {
        onError.step([&] {
            setCaption(u"TC35测试中连接 " + ComboPort.Text() + u" 状态" +
                       SpeedText(ComboSpeed.Text()) + u",N,8,1 ......");
        });
    }
}

namespace {

void ShowLine(platform::Label& label, bool on, const char16_t* whenTrue,
              const char16_t* whenFalse) {
    if (on) {
        label.setCaption(whenTrue);
        label.setBackColor(kGreen);
    } else {
        label.setCaption(whenFalse);
        label.setBackColor(kLightRed);
    }
}

}  // namespace

void Tamsel::UpdateLineStatus() {
    if (const int failure = refreshLineStatus(); failure != 0) {
        platform::Raise(failure);
    }
}

int Tamsel::refreshLineStatus() {
    ShowLine(LabelDTR, MSComm.DTREnable(), u"DTR=0 Enable", u"DTR=1 Disable");
    ShowLine(LabelRTS, MSComm.RTSEnable(), u"RTS=0 Enable", u"RTS=1 Disable");
    // One reading serves the three input lines; a device without them ends
    // the refresh here, as reading DSR by itself would.
    const std::optional<platform::ModemLines> lines = MSComm.LineSample();
    if (!lines) {
        return platform::kErrLinesNotReported;
    }
    ShowLine(LabelDSR, lines->dsr, u"DSR=0 True", u"DSR=1 False");
    ShowLine(LabelCTS, lines->cts, u"CTS=0 True", u"CTS=1 False");
    ShowLine(LabelCD, lines->cd, u"CD=0 ON", u"CD=1 OFF");
    return 0;
}

void Tamsel::LabelDTR_Click() {
    const std::u16string shown = LabelDTR.Caption();
    MSComm.setDTREnable(shown != u"DTR=0 Enable");
    UpdateLineStatus();
}

void Tamsel::LabelRTS_Click() {
    const std::u16string shown = LabelRTS.Caption();
    MSComm.setRTSEnable(shown != u"RTS=0 Enable");
    UpdateLineStatus();
}

}  // namespace console
