#include "wrdplayer/screen.h"

#include <cstring>

namespace {

bool Inside(const Screen::Area& area, int x, int y) {
  return x >= area.x && x < area.x + area.width && y >= area.y && y < area.y + area.height;
}

}  // namespace

void Screen::ToRgb(uint8_t* out) const {
  std::memset(out, 0, size_t{kWidth} * kHeight * 3);
  for (int y = shown.y; y < shown.y + shown.height; ++y) {
    const uint8_t* row = indices.data() + size_t(y) * kWidth;
    uint8_t* rgb = out + (size_t(y) * kWidth + shown.x) * 3;
    for (int x = shown.x; x < shown.x + shown.width; ++x) {
      const Rgb& colour = palette[row[x]];
      *rgb++ = colour.r;
      *rgb++ = colour.g;
      *rgb++ = colour.b;
    }
  }
}

Rgb Screen::PixelAt(int x, int y) const {
  if (!Inside(shown, x, y)) return Rgb{};
  return palette[indices[size_t(y) * kWidth + x]];
}
