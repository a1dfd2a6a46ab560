#pragma once

#include <string>

#include "platform/runtime.h"

namespace device_commands {

// The module clock's value for one second before midnight of the given day:
// "yy/mm/dd,23:59:59" (17 characters).
std::u16string ClockValue(const platform::DateTime& today);

}  // namespace device_commands
