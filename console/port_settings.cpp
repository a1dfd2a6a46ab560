#include "console/port_settings.h"

#include "console/vb_text.h"

namespace console {

std::u16string SpeedText(std::u16string_view entry) {
    return NumberText(Val(entry));
}

std::u16string PortSettings(std::u16string_view entry) {
    return SpeedText(entry) + u",N,8,1";
}

}  // namespace console
