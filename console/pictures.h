#pragma once

#include "platform/picture.h"

namespace console {

// The main window's icon: 32 x 32 in 256 colours.
platform::Picture WindowIcon();

// The pointer over the splitter bar: two bars with an arrow above and below,
// hot spot in the gap between the bars.
platform::Picture SplitterCursor();

}  // namespace console
