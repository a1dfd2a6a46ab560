#pragma once

#include <string>

namespace platform {

// A control's font. An empty name means the platform's default font.
struct Font {
    std::u16string name;
    float size = 9.0F;
    int weight = 400;
    int charset = 0;
    bool operator==(const Font&) const = default;
};

}  // namespace platform
