#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/form.h"
#include "platform/mscomm.h"
#include "platform/runtime.h"
#include "platform/serial_device.h"
#include "platform/timer.h"

namespace console {

// The main window: the serial console and the controls of the module tests.
// Other subsystems reach its controls and state through this object.
class Tamsel : public platform::Form {
  public:
    Tamsel(platform::Runtime& runtime, platform::SerialPortOpener& ports);
    ~Tamsel() override;

    // Port and speed, open/close.
    platform::ComboBox ComboPort;
    platform::ComboBox ComboSpeed;
    platform::CommandButton ComStartStop;

    // Module-test buttons and input boxes.
    platform::CommandButton ComVersion;
    platform::TextBox TextPIN;
    platform::CommandButton ComPIN;
    platform::CommandButton ComSignal;
    platform::CommandButton Comcops;
    platform::CommandButton ComCallID;
    platform::CommandButton Command3;
    platform::TextBox TextNumber;
    platform::CommandButton Command1;
    platform::CommandButton ComHandOff;
    std::array<platform::CommandButton, 12> ComDial;

    // Line status, lamps and display switch.
    platform::Label LabelDTR;
    platform::Label LabelRTS;
    platform::Label Label3;
    platform::TextBox TextSend;
    platform::Label Label4;
    platform::TextBox TextReceive;
    platform::Label LabelDSR;
    platform::Label LabelCTS;
    platform::Label LabelCD;
    platform::CheckBox CheckDisplay;

    // Panes and splitter.
    platform::RichTextBox TextOut;
    platform::Label LabelMove;
    platform::RichTextBox RTextBuf;

    platform::Timer TimerRead;
    platform::Timer TimerDelay;
    platform::MSComm MSComm;

    // State shared by the console and the module tests.
    bool PortOpened = false;
    bool SendPending = false;
    std::int32_t SendPos = 0;
    std::int32_t SendLen = 0;
    std::int16_t SendChunk = 0;
    bool ReplyWaiting = false;

    // Start-up and shutdown.
    void Form_Load();
    void Form_Unload(std::int16_t& Cancel);

    // Port control and line status.
    void ComStartStop_Click();
    void ComboSpeed_Click();
    void UpdateLineStatus();
    void LabelDTR_Click();
    void LabelRTS_Click();

    // Receive poll and send pacing.
    void TimerRead_Timer();
    std::u16string IntToHexStr(const std::int16_t& IntValue, const std::int16_t& Digits) const;
    std::int32_t HexStrToLong(const std::u16string& HexStr) const;
    void CheckDisplay_Click();
    void MSComm_OnComm();

    // Typed-line sending.
    void TextOut_KeyPress(std::int16_t& KeyAscii);

    // Layout of the panes and the splitter.
    void Form_Resize();
    void LabelMove_MouseMove(std::int16_t& Button, std::int16_t& Shift, float& X, float& Y);

  private:
    void design();
    void designControls();
    void connectEvents();
    // The settings restore that opens Form_Load.
    void RestoreSettings();
    void openPort();
    // Shows the five lines; returns the failure that ended the refresh, 0 for none.
    int refreshLineStatus();
    void closePort();
    void appendReceived(const std::vector<std::uint8_t>& bytes);
    void continueSend();
    void completeSend();
};

}  // namespace console
