#include "wrdplayer/screen_tile.h"

#include <algorithm>
#include <array>

ScreenTile TileOf(const Screen& screen) {
  ScreenTile tile;
  constexpr int scale = ScreenTile::kScale;
  const Screen::Area& shown = screen.shown;
  // Only the shown part of the screen adds to the sums: the rest is black.
  const int left = std::clamp(shown.x, 0, Screen::kWidth);
  const int right = std::clamp(shown.x + shown.width, left, Screen::kWidth);
  const int top = std::clamp(shown.y, 0, Screen::kHeight);
  const int bottom = std::clamp(shown.y + shown.height, top, Screen::kHeight);
  std::array<uint32_t, ScreenTile::kWidth * 3> sums;
  for (int ty = 0; ty < ScreenTile::kHeight; ++ty) {
    sums.fill(0);
    for (int y = std::max(ty * scale, top); y < std::min(ty * scale + scale, bottom); ++y) {
      const uint8_t* row = screen.indices.data() + size_t(y) * Screen::kWidth;
      for (int x = left; x < right; ++x) {
        const Rgb& colour = screen.palette[row[x]];
        uint32_t* sum = &sums[size_t(x / scale) * 3];
        sum[0] += colour.r;
        sum[1] += colour.g;
        sum[2] += colour.b;
      }
    }
    uint8_t* out = tile.rgb.data() + size_t(ty) * ScreenTile::kWidth * 3;
    constexpr uint32_t block = scale * scale;
    for (size_t i = 0; i < sums.size(); ++i) out[i] = uint8_t((sums[i] + block / 2) / block);
  }
  return tile;
}
