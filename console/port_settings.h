#pragma once

#include <string>
#include <string_view>

namespace console {

// The speed at the start of a speed-list entry as decimal text: "9600bps" gives "9600",
// a text without a leading number "0".
std::u16string SpeedText(std::u16string_view entry);

// The port settings string of a speed-list entry: "9600bps" gives "9600,N,8,1".
std::u16string PortSettings(std::u16string_view entry);

}  // namespace console
