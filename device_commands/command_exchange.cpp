#include "console/colors.h"
#include "device_commands/module_tests.h"
#include "device_commands/reply_search.h"

namespace device_commands {

void ModuleTests::SendCommand(const std::u16string& Cmd) {
    if (!w_.PortOpened) {
        return;
    }
    w_.TextOut.setText(Cmd + u"\r\n");
    w_.TextOut.setEnabled(false);
    w_.SendPending = true;
    w_.SendChunk = w_.MSComm.OutBufferSize();
    w_.SendPos = 0;
    w_.TextSend.setBackColor(console::kGreen);
    w_.SendLen = static_cast<std::int32_t>(w_.TextOut.Text().size());
    w_.RTextBuf.setText(u"");
    w_.TextOut.setSelStart(w_.SendPos);
    if (w_.SendLen - w_.SendPos > w_.SendChunk) {
        w_.TextOut.setSelLength(w_.SendChunk);
        w_.SendPos += w_.SendChunk;
    } else {
        w_.TextOut.setSelLength(w_.SendLen - w_.SendPos);
        w_.SendPos = w_.SendLen;
    }
    w_.MSComm.setOutput(w_.TextOut.SelText());
    w_.TimerDelay.setInterval(300);
    w_.ReplyWaiting = true;
    w_.TimerDelay.setEnabled(true);
    w_.setEnabled(false);
    while (w_.ReplyWaiting) {
        w_.runtime().DoEvents();
        // A window unloaded meanwhile has no timer left to end the wait.
        if (!w_.TimerDelay.Enabled() || !w_.loaded()) {
            w_.ReplyWaiting = false;
        }
    }
    w_.setEnabled(true);
}

void ModuleTests::TimerDelay_Timer() {
    w_.TimerDelay.setEnabled(false);
    w_.ReplyWaiting = false;
}

bool ModuleTests::replyContains(std::u16string_view what) const {
    return ReplySearch(w_.RTextBuf.Text(), what) > 0;
}

void ModuleTests::showTestMessage(const std::u16string& prompt) {
    TestMessage(w_.runtime(), prompt);
}

}  // namespace device_commands
