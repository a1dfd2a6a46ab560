#include "tests/support/tc35_clock.h"

#include <chrono>
#include <cstdio>

namespace tc35 {
namespace {

using namespace std::chrono;

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr sys_days kEpoch = sys_days{year{2000} / January / 1};
// 2000-01-01 up to 2100-01-01.
constexpr std::int64_t kSpan =
    (sys_days{year{2100} / January / 1} - kEpoch).count() * kSecondsPerDay;

std::int64_t FloorMod(std::int64_t value, std::int64_t modulus) {
    const std::int64_t rest = value % modulus;
    return rest < 0 ? rest + modulus : rest;
}

std::int64_t FloorDiv(std::int64_t value, std::int64_t divisor) {
    const std::int64_t quotient = value / divisor;
    return (value % divisor != 0 && (value < 0) != (divisor < 0)) ? quotient - 1 : quotient;
}

std::optional<int> TwoDigits(std::string_view text, std::size_t pos) {
    const char high = text[pos];
    const char low = text[pos + 1];
    if (high < '0' || high > '9' || low < '0' || low > '9') {
        return std::nullopt;
    }
    return (high - '0') * 10 + (low - '0');
}

}  // namespace

std::optional<std::int64_t> ModuleClock::Parse(std::string_view text) {
    constexpr std::string_view kShape = "00/00/00,00:00:00";
    if (text.size() != kShape.size()) {
        return std::nullopt;
    }
    int fields[6] = {};
    for (std::size_t i = 0; i < 6; ++i) {
        const std::size_t pos = i * 3;
        const auto value = TwoDigits(text, pos);
        if (!value || (i < 5 && text[pos + 2] != kShape[pos + 2])) {
            return std::nullopt;
        }
        fields[i] = *value;
    }
    const year_month_day date{year{2000 + fields[0]}, month{static_cast<unsigned>(fields[1])},
                              day{static_cast<unsigned>(fields[2])}};
    if (!date.ok() || fields[3] > 23 || fields[4] > 59 || fields[5] > 59) {
        return std::nullopt;
    }
    const std::int64_t days = (sys_days{date} - kEpoch).count();
    return days * kSecondsPerDay + fields[3] * 3600 + fields[4] * 60 + fields[5];
}

std::string ModuleClock::Format(std::int64_t seconds) {
    const std::int64_t wrapped = FloorMod(seconds, kSpan);
    const year_month_day date{kEpoch + days{wrapped / kSecondsPerDay}};
    const std::int64_t time = wrapped % kSecondsPerDay;
    char text[32];
    std::snprintf(text, sizeof text, "%02d/%02u/%02u,%02d:%02d:%02d",
                  static_cast<int>(date.year()) - 2000, static_cast<unsigned>(date.month()),
                  static_cast<unsigned>(date.day()), static_cast<int>(time / 3600),
                  static_cast<int>(time / 60 % 60), static_cast<int>(time % 60));
    return text;
}

ModuleClock::ModuleClock(std::int64_t seconds, platform::Micros at, bool runs)
    : seconds_(seconds), setAt_(at), runs_(runs) {}

void ModuleClock::set(std::int64_t seconds, platform::Micros at) {
    seconds_ = seconds;
    setAt_ = at;
}

std::int64_t ModuleClock::secondsAt(platform::Micros at) const {
    const std::int64_t elapsed = runs_ ? FloorDiv(at - setAt_, 1'000'000) : 0;
    return FloorMod(seconds_ + elapsed, kSpan);
}

}  // namespace tc35
