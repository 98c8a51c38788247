#include "make/nearest_colour.h"

#include <cstdlib>

int NearestPaletteIndex(const std::array<uint8_t, 256 * 4>& palette, uint32_t colour) {
  const int red = static_cast<int>(colour & 0xFF);
  const int green = static_cast<int>((colour >> 8) & 0xFF);
  const int blue = static_cast<int>((colour >> 16) & 0xFF);
  int best = 768;
  int nearest = 0;
  for (int k = 0; k < 256; ++k) {
    const int distance = std::abs(blue - palette[k * 4]) + std::abs(green - palette[k * 4 + 1]) +
                         std::abs(red - palette[k * 4 + 2]);
    if (distance < best) {
      best = distance;
      nearest = k;
    }
  }
  return nearest;
}
