#include <array>
#include <string_view>
#include <vector>

#include "console/colors.h"
#include "console/tamsel.h"
#include "platform/ansi_codepage.h"
#include "platform/ignored_failures.h"
#include "platform/runtime_error.h"

namespace console {

namespace {

constexpr std::size_t kTrimAbove = 4000;
constexpr std::size_t kTrimTo = 2000;

}  // namespace

void Tamsel::TimerRead_Timer() {
    platform::IgnoredFailures onError;
    std::int16_t waiting = 0;  // a count that cannot be read counts as none
    onError.step([&] { waiting = MSComm.InBufferCount(); });
    if (waiting == 0) {
        onError.step([&] { TextReceive.setBackColor(kYellow); });
    } else {
        onError.step([&] { TextReceive.setBackColor(kGreen); });
        std::vector<std::uint8_t> bytes;
        onError.step([&] { bytes = MSComm.Input(); });
        if (!bytes.empty()) {
            appendReceived(bytes);
        }
    }
    if (SendPos < SendLen) {
        continueSend();
    } else {
        completeSend();
    }
    // A device without modem lines ends the refresh on every tick; the tick
    // passes that over without raising it.
    onError.step([&] { refreshLineStatus(); });
    onError.step([&] { TimerRead.setEnabled(true); });
}

void Tamsel::appendReceived(const std::vector<std::uint8_t>& bytes) {
    platform::IgnoredFailures onError;
    std::u16string display;
    display.reserve(bytes.size() * 4);
    const std::int16_t two = 2;
    for (const std::uint8_t byte : bytes) {
        onError.step([&] {
            const std::int16_t value = byte;
            if (CheckDisplay.Value() == 1 || (value >= 1 && value <= 9)) {
                display += u'[';
                display += IntToHexStr(value, two);
                display += u']';
            } else if (value == 0) {
                display += u"[EOF]";
            } else {
                display += platform::AnsiByteToChar(byte);
            }
        });
    }
    onError.step([&] {
        if (RTextBuf.Text().size() > kTrimAbove) {
            RTextBuf.setText(RTextBuf.Text().substr(RTextBuf.Text().size() - kTrimTo));
        }
    });
    onError.step([&] { RTextBuf.setSelStart(static_cast<std::int32_t>(RTextBuf.Text().size())); });
    onError.step([&] { RTextBuf.setSelLength(0); });
    onError.step([&] { RTextBuf.setSelText(display); });
    onError.step([&] { RTextBuf.setSelStart(static_cast<std::int32_t>(RTextBuf.Text().size())); });
    onError.step([&] { RTextBuf.Refresh(); });
}

void Tamsel::continueSend() {
    platform::IgnoredFailures onError;
    std::int16_t pending = 0;  // a count that cannot be read counts as empty
    onError.step([&] { pending = MSComm.OutBufferCount(); });
    if (pending != 0) {
        return;
    }
    onError.step([&] { TextOut.setSelStart(SendPos); });
    if (SendLen - SendPos > SendChunk) {
        onError.step([&] { TextOut.setSelLength(SendChunk); });
        SendPos += SendChunk;
    } else {
        onError.step([&] { TextOut.setSelLength(SendLen - SendPos); });
        SendPos = SendLen;
    }
    onError.step([&] { MSComm.setOutput(TextOut.SelText() + u"\r"); });
}

void Tamsel::completeSend() {
    platform::IgnoredFailures onError;
    std::int16_t pending = 0;
    onError.step([&] { pending = MSComm.OutBufferCount(); });
    if (pending != 0 || !SendPending) {
        return;
    }
    SendPending = false;
    onError.step([&] { TextOut.setText(u""); });
    onError.step([&] { TextOut.setEnabled(true); });
    onError.step([&] { TextOut.setSelStart(0); });
    onError.step([&] { TextOut.SetFocus(); });
    onError.step([&] { TextSend.setBackColor(kYellow); });
}

std::u16string Tamsel::IntToHexStr(const std::int16_t& IntValue, const std::int16_t& Digits) const {
    if (Digits < 0) {
        platform::Raise(platform::kErrInvalidCall);
    }
    static constexpr char16_t kHex[] = u"0123456789ABCDEF";
    // Called for every received byte in the hexadecimal view: no allocation
    // beyond the result.
    std::array<char16_t, 4> nibbles{};
    std::size_t count = 0;
    auto bits = static_cast<std::uint16_t>(IntValue);
    do {
        nibbles[nibbles.size() - ++count] = kHex[bits & 0xF];
        bits = static_cast<std::uint16_t>(bits >> 4);
    } while (bits != 0);
    const std::u16string_view text(nibbles.data() + nibbles.size() - count, count);
    const auto digits = static_cast<std::size_t>(Digits);
    if (digits == 0) {
        return std::u16string(text);
    }
    if (digits > count) {
        std::u16string padded(digits - count, u'0');
        padded += text;
        return padded;
    }
    return std::u16string(text.substr(count - digits));
}

std::int32_t Tamsel::HexStrToLong(const std::u16string& HexStr) const {
    constexpr std::int64_t kLargest = 0x7FFFFFFF;
    constexpr std::size_t kMostDigits = 9;
    std::int64_t value = 0;
    for (std::size_t i = 0; i < HexStr.size() && i < kMostDigits; ++i) {
        const std::int16_t code = platform::AnsiCode(HexStr[i]);
        int digit = 0;
        if (code >= '0' && code <= '9') {
            digit = code - 48;
        } else if (code >= 'a' && code <= 'f') {
            digit = code - 87;
        } else if (code >= 'A' && code <= 'F') {
            digit = code - 55;
        } else {
            break;
        }
        value = value * 16 + digit;
        if (value > kLargest) {
            platform::Raise(platform::kErrOverflow);
        }
    }
    return static_cast<std::int32_t>(value);
}

void Tamsel::CheckDisplay_Click() {
    (void)CheckDisplay.Value();
}

void Tamsel::MSComm_OnComm() {
    constexpr std::int16_t kDataReceived = 2;
    if (MSComm.CommEvent() == kDataReceived) {
        (void)MSComm.Input();
    }
}

}  // namespace console
