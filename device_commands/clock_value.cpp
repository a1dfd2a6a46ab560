#include "device_commands/clock_value.h"

namespace device_commands {
namespace {

std::u16string TwoDigits(int value) {
    return {static_cast<char16_t>(u'0' + value / 10 % 10),
            static_cast<char16_t>(u'0' + value % 10)};
}

}  // namespace

std::u16string ClockValue(const platform::DateTime& today) {
    return TwoDigits(today.year % 100) + u"/" + TwoDigits(today.month) + u"/" +
           TwoDigits(today.day) + u",23:59:59";
}

}  // namespace device_commands
