#pragma once

#include <string>

#include "platform/runtime.h"

namespace console {

// "设备测试程序  版本 V" with major, ".", minor and revision: 1.0.4 gives V1.04.
std::u16string VersionCaption(const platform::Application& app);

}  // namespace console
