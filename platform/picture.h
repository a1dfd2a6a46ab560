#pragma once

#include <cstdint>
#include <vector>

namespace platform {

// A small picture (window icon or mouse cursor), drawn by the program.
// Pixels are 0xAARRGGBB, row by row; hot spot is used by cursors only.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    int hotX = 0;
    int hotY = 0;
    bool empty() const { return pixels.empty(); }
    bool operator==(const Picture&) const = default;
};

}  // namespace platform
