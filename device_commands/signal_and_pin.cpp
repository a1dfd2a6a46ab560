#include "console/vb_text.h"
#include "device_commands/module_tests.h"
#include "device_commands/reply_search.h"

namespace device_commands {

void ModuleTests::ComSignal_Click() {
    if (!w_.PortOpened) {
        return;
    }
    SendCommand(u"AT+CSQ");
    const std::int32_t p = ReplySearch(w_.RTextBuf.Text(), u"CSQ:");
    const double signal = console::Val(Mid(w_.RTextBuf.Text(), p + 5, 2));
    if (signal < 14) {
        showTestMessage(u"信号太低,至少应在14以上");
        return;
    }
    if (signal == 99) {
        showTestMessage(u"天线没有接好");
        return;
    }
    if (Mid(w_.RTextBuf.Text(), p + 6, 6).find(u"99") == std::u16string::npos) {
        showTestMessage(u"天线没有接好");
    }
}

void ModuleTests::ComPIN_Click() {
    if (!w_.PortOpened) {
        return;
    }
    SendCommand(u"AT+CPIN?");
    if (replyContains(u"SIM PIN") && w_.TextPIN.Text().size() == 4) {
        SendCommand(u"AT+CPIN=" + w_.TextPIN.Text());
    }
}

void ModuleTests::TextPIN_KeyPress(std::int16_t& KeyAscii) {
    if (KeyAscii > 57) {
        KeyAscii = 0;
    } else if (KeyAscii >= 48 || KeyAscii <= 31) {
        // digits and control codes pass
    } else {
        KeyAscii = 0;
    }
}

void ModuleTests::TextNumber_KeyPress(std::int16_t& KeyAscii) {
    TextPIN_KeyPress(KeyAscii);
}

}  // namespace device_commands
