#include "console/pictures.h"

#include <cstdint>
#include <cstdlib>

namespace console {
namespace {

constexpr std::uint32_t kClear = 0x00000000;
constexpr std::uint32_t kBlack = 0xFF000000;
constexpr std::uint32_t kWhite = 0xFFFFFFFF;
constexpr int kSize = 32;

platform::Picture Blank() {
    platform::Picture picture;
    picture.width = kSize;
    picture.height = kSize;
    picture.pixels.assign(kSize * kSize, kClear);
    return picture;
}

void Put(platform::Picture& p, int x, int y, std::uint32_t colour) {
    if (x >= 0 && y >= 0 && x < p.width && y < p.height) {
        p.pixels[static_cast<std::size_t>(y * p.width + x)] = colour;
    }
}

std::uint32_t At(const platform::Picture& p, int x, int y) {
    if (x < 0 || y < 0 || x >= p.width || y >= p.height) {
        return kClear;
    }
    return p.pixels[static_cast<std::size_t>(y * p.width + x)];
}

void FillRect(platform::Picture& p, int x0, int y0, int x1, int y1, std::uint32_t colour) {
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            Put(p, x, y, colour);
        }
    }
}

}  // namespace

platform::Picture SplitterCursor() {
    platform::Picture p = Blank();
    // Bars of 15 pixels with a two-pixel gap (rows 14 and 15) between them.
    FillRect(p, 8, 12, 22, 13, kBlack);
    FillRect(p, 8, 16, 22, 17, kBlack);
    // Arrow up: head rows 3..7, shaft rows 8..10; arrow down mirrored.
    for (int row = 0; row < 5; ++row) {
        FillRect(p, 15 - row, 3 + row, 15 + row, 3 + row, kBlack);
        FillRect(p, 15 - row, 26 - row, 15 + row, 26 - row, kBlack);
    }
    FillRect(p, 14, 8, 16, 10, kBlack);
    FillRect(p, 14, 19, 16, 21, kBlack);
    // A white outline around every black pixel keeps it visible on dark ground.
    platform::Picture outlined = p;
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            if (At(p, x, y) == kBlack) {
                continue;
            }
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    if (At(p, x + dx, y + dy) == kBlack) {
                        Put(outlined, x, y, kWhite);
                    }
                }
            }
        }
    }
    outlined.hotX = 15;
    outlined.hotY = 14;
    return outlined;
}

platform::Picture WindowIcon() {
    platform::Picture p = Blank();
    constexpr std::uint32_t kBody = 0xFF1F4E9A;
    constexpr std::uint32_t kFace = 0xFFDDE6F2;
    constexpr std::uint32_t kScreen = 0xFF2E8B57;
    constexpr std::uint32_t kKey = 0xFF404040;
    constexpr std::uint32_t kWave = 0xFFE8A317;
    // A handset-sized module with its antenna and radio waves.
    FillRect(p, 8, 8, 21, 30, kBody);
    FillRect(p, 10, 10, 19, 16, kScreen);
    FillRect(p, 10, 18, 19, 28, kFace);
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            FillRect(p, 11 + col * 3, 19 + row * 3, 12 + col * 3, 20 + row * 3, kKey);
        }
    }
    FillRect(p, 18, 1, 19, 7, kBody);
    for (int r = 4; r <= 10; r += 3) {
        for (int a = -r; a <= r; ++a) {
            const int b = r - std::abs(a) / 2;
            Put(p, 19 + b + 2, 4 + a / 2, kWave);
        }
    }
    return p;
}

}  // namespace console
