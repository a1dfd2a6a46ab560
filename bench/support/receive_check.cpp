#include "bench/support/receive_check.h"

#include <cstdio>

#include "bench/support/peer_stream.h"
#include "console/tamsel.h"

namespace bench {
namespace {

constexpr std::size_t kTrimAbove = 4000;
constexpr std::size_t kTrimTo = 2000;

std::u16string Shown(const std::string& bytes, bool hex) {
    std::u16string text;
    for (const char byte : bytes) {
        if (hex) {
            char code[8];
            std::snprintf(code, sizeof code, "[%02X]", static_cast<unsigned char>(byte));
            text.append(code, code + 4);
        } else {
            text.push_back(static_cast<char16_t>(static_cast<unsigned char>(byte)));
        }
    }
    return text;
}

}  // namespace

void ReceiveCheck::start(std::uint64_t streamOffset) {
    offset_ = streamOffset;
    bytes_ = 0;
    wrongTicks_ = 0;
    window_.TimerRead.OnTimer = [this] { tick(); };
}

void ReceiveCheck::tick() {
    const std::u16string before = window_.RTextBuf.Text();
    window_.TimerRead_Timer();
    const std::u16string& text = window_.RTextBuf.Text();
    if (text == before) {
        return;  // nothing came
    }
    const std::size_t kept = before.size() > kTrimAbove ? kTrimTo : before.size();
    if (text.size() < kept) {
        ++wrongTicks_;
        return;
    }
    const bool hex = window_.CheckDisplay.Value() == 1;
    const std::size_t added = text.size() - kept;
    const std::size_t count = hex ? added / 4 : added;
    if (text.compare(kept, added, Shown(StreamBytes(offset_ + bytes_, count), hex)) != 0) {
        ++wrongTicks_;
    }
    bytes_ += count;
}

}  // namespace bench
