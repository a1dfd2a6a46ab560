#pragma once

#include <cstdint>
#include <string>

#include "console/tamsel.h"

namespace device_commands {

// The module tests of the main window: the command exchange and the test
// buttons that use it. Reaches the window only through the Tamsel object.
class ModuleTests {
  public:
    // Connects the test buttons, input boxes and TimerDelay of the window.
    explicit ModuleTests(console::Tamsel& window);
    ModuleTests(const ModuleTests&) = delete;
    ModuleTests& operator=(const ModuleTests&) = delete;

    // One AT command and its fixed 300 ms reply window.
    void SendCommand(const std::u16string& Cmd);
    void TimerDelay_Timer();

    void ComVersion_Click();
    void ComSignal_Click();
    void ComPIN_Click();
    void TextPIN_KeyPress(std::int16_t& KeyAscii);

    void Command3_Click();
    void Command1_Click();
    void ComHandOff_Click();
    void ComDial_Click(std::int16_t& Index);
    void Comcops_Click();
    void ComCallID_Click();
    void TextNumber_KeyPress(std::int16_t& KeyAscii);

  private:
    // Whether the reply now in RTextBuf contains the text, letter case ignored.
    bool replyContains(std::u16string_view what) const;
    void showTestMessage(const std::u16string& prompt);

    console::Tamsel& w_;
};

}  // namespace device_commands
