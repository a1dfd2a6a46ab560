#include "platform/window_placement.h"

namespace platform {

std::int32_t SetWindowPos(Form& window, std::int32_t insertAfter, std::int32_t x, std::int32_t y,
                          std::int32_t cx, std::int32_t cy, std::uint32_t flags) {
    if ((flags & SWP_NOZORDER) == 0) {
        if (insertAfter == HWND_TOPMOST) {
            window.setTopMost(true);
        } else if (insertAfter == HWND_NOTOPMOST || insertAfter == HWND_BOTTOM) {
            window.setTopMost(false);
        }
    }
    if ((flags & SWP_NOMOVE) == 0) {
        window.setLeft(static_cast<float>(x));
        window.setTop(static_cast<float>(y));
    }
    if ((flags & SWP_NOSIZE) == 0) {
        window.setWidth(static_cast<float>(cx));
        window.setHeight(static_cast<float>(cy));
    }
    return 1;
}

}  // namespace platform
