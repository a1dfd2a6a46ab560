#include "console/colors.h"
#include "console/tamsel.h"
#include "platform/ansi_codepage.h"

namespace console {

void Tamsel::TextOut_KeyPress(std::int16_t& KeyAscii) {
    constexpr std::int16_t kEnter = 13;
    if (KeyAscii != kEnter) {
        return;
    }
    KeyAscii = 0;
    SendLen = static_cast<std::int32_t>(TextOut.Text().size());
    if (SendLen == 0) {
        return;
    }
    TextOut.setEnabled(false);
    SendPending = true;
    SendChunk = MSComm.OutBufferSize();
    SendPos = 0;
    TextSend.setBackColor(kGreen);
    TextOut.setSelStart(SendPos);
    if (SendLen - SendPos > SendChunk) {
        TextOut.setSelLength(SendChunk);
        SendPos += SendChunk;
    } else {
        TextOut.setSelLength(SendLen - SendPos);
        SendPos = SendLen;
    }
    const std::u16string piece = TextOut.SelText();
    const std::int16_t first = piece.empty() ? 0 : platform::AnsiCode(piece.front());
    if (first == 'a' || first == 'A') {
        MSComm.setOutput(piece + u"\r");
    } else {
        MSComm.setOutput(piece);
    }
}

}  // namespace console
