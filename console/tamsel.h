#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/controls.h"
#include "platform/form.h"
#include "platform/runtime.h"
#include "platform/timer.h"

namespace console {

// The main window: the serial console and the controls of the module tests.
// Other subsystems reach its controls and state through this object.
class Tamsel : public platform::Form {
  public:
    explicit Tamsel(platform::Runtime& runtime);
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

    // State shared by the console and the module tests.
    bool PortOpened = false;
    bool SendPending = false;
    std::int32_t SendPos = 0;
    std::int32_t SendLen = 0;
    std::int16_t SendChunk = 0;
    bool ReplyWaiting = false;

    void Form_Load();

  private:
    void design();
    void designControls();
};

}  // namespace console
