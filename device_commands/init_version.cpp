#include "console/port_settings.h"
#include "device_commands/clock_value.h"
#include "device_commands/module_tests.h"
#include "device_commands/reply_search.h"
#include "platform/ignored_failures.h"

namespace device_commands {
namespace {

constexpr std::int16_t k9600 = 9;
constexpr std::int32_t kFirstPass = 8;
constexpr std::int32_t kFirstFallback = 15;
const std::u16string kImeiCommand = u"ATD*#06#";

bool IsLineBreak(char16_t ch) {
    return ch == u'\r' || ch == u'\n';
}

}  // namespace

void ModuleTests::ComVersion_Click() {
    platform::IgnoredFailures onError;
    if (!w_.PortOpened) {
        return;
    }
    onError.step([&] { w_.ComboSpeed.setListIndex(k9600); });

    std::int32_t passes = 0;
    onError.step([&] { passes = w_.ComboSpeed.ListCount(); });
    std::int32_t countdown = kFirstFallback;
    std::int32_t pass = kFirstPass;
    for (; pass <= passes; ++pass) {
        onError.step([&] { SendCommand(u"AT&F"); });
        if (replyContains(u"OK")) {
            break;
        }
        --countdown;
        onError.step(
            [&] { w_.MSComm.setSettings(console::PortSettings(w_.ComboSpeed.List(countdown))); });
    }
    onError.step([&] { w_.ComboSpeed.setListIndex(k9600); });
    if (pass == passes + 1) {
        showTestMessage(u"TC35没有反应");
        return;
    }

    std::u16string clock;
    onError.step([&] { clock = ClockValue(w_.runtime().Now()); });
    onError.step([&] { SendCommand(u"AT+CCLK=\"" + clock + u"\""); });
    if (!replyContains(u"OK")) {
        showTestMessage(u"设置TC35的时钟出错!");
        return;
    }

    onError.step([&] { SendCommand(u"AT^SBC=0^SBC?"); });
    onError.step([&] { SendCommand(u"AT^SNFD"); });
    onError.step([&] { SendCommand(u"AT&D0X4^SNFS=4^SSYNC=1+CRC=0+CLIP=0+IPR=0"); });
    if (!replyContains(u"OK")) {
        showTestMessage(u"TC35 初始化不正确");
        return;
    }

    onError.step([&] { w_.runtime().Sleep(800); });
    onError.step([&] { SendCommand(u"AT+CCLK?"); });
    if (replyContains(clock)) {
        showTestMessage(u"TC35的时钟回读出错,没有走时!");
        return;
    }
    if (replyContains(u"00/01/01")) {
        showTestMessage(u"设置TC35的时钟出错!");
        return;
    }

    onError.step([&] { SendCommand(kImeiCommand); });
    const std::u16string reply = w_.RTextBuf.Text();
    const std::int32_t echo = ReplySearch(reply, kImeiCommand);
    if (echo == 0) {
        showTestMessage(u"读取IMEI号出错");
        return;
    }
    // The IMEI follows the echo and the line break after it, whether the
    // module ends the echoed line with CR LF or with a CR and a framed reply.
    auto imeiStart = static_cast<std::size_t>(echo - 1) + kImeiCommand.size();
    while (imeiStart < reply.size() && IsLineBreak(reply[imeiStart])) {
        ++imeiStart;
    }
    const std::u16string imeiLine =
        u"IMEI: " + Mid(reply, static_cast<std::int32_t>(imeiStart) + 1, 15);

    onError.step([&] { SendCommand(u"ATI"); });
    onError.step([&] { w_.RTextBuf.setText(w_.RTextBuf.Text() + imeiLine); });
    if (replyContains(u"TC35i")) {
        if (!replyContains(u"01.05")) {
            showTestMessage(u"TC35i 版本不对,应为1.05版本");
        }
    } else if (!replyContains(u"04.00")) {
        showTestMessage(u"TC35 版本不对,应为4.00版本");
    }
}

}  // namespace device_commands
