#include "wrdplayer/screen_tile.h"

#include <array>
#include <cstring>

namespace {

// A colour packed so that sixteen of them add up in one number: red, green and blue each in a
// field of 21 bits.
constexpr int kField = 21;
constexpr uint64_t kFieldMask = (uint64_t{1} << kField) - 1;

bool Inside(const Screen::Area& area, int x, int y) {
  return x >= area.x && x < area.x + area.width && y >= area.y && y < area.y + area.height;
}

uint64_t Packed(const Rgb& colour) {
  return colour.r | uint64_t{colour.g} << kField | uint64_t{colour.b} << (2 * kField);
}

}  // namespace

ScreenTile TileOf(const Screen& screen) {
  constexpr int scale = ScreenTile::kScale;
  static_assert(scale == 4, "the inner loop adds four pixels of a row");
  constexpr uint64_t block = scale * scale;
  std::array<uint64_t, 256> packed;
  for (size_t i = 0; i < packed.size(); ++i) packed[i] = Packed(screen.palette[i]);
  const Screen::Area& shown = screen.shown;
  ScreenTile tile;
  uint8_t* out = tile.rgb.data();
  for (int ty = 0; ty < ScreenTile::kHeight; ++ty) {
    const int y = ty * scale;
    const uint8_t* rows = screen.indices.data() + size_t(y) * Screen::kWidth;
    for (int tx = 0; tx < ScreenTile::kWidth; ++tx) {
      const int x = tx * scale;
      uint64_t sum = 0;
      if (Inside(shown, x, y) && Inside(shown, x + scale - 1, y + scale - 1)) {
        for (int dy = 0; dy < scale; ++dy) {
          const uint8_t* at = rows + size_t(dy) * Screen::kWidth + x;
          sum += packed[at[0]] + packed[at[1]] + packed[at[2]] + packed[at[3]];
        }
      } else {
        // A block on the edge of the shown part: black outside it.
        for (int dy = 0; dy < scale; ++dy) {
          for (int dx = 0; dx < scale; ++dx) {
            if (Inside(shown, x + dx, y + dy)) sum += packed[rows[dy * Screen::kWidth + x + dx]];
          }
        }
      }
      for (int channel = 0; channel < 3; ++channel) {
        const uint64_t total = (sum >> (channel * kField)) & kFieldMask;
        *out++ = uint8_t((total + block / 2) / block);
      }
    }
  }
  return tile;
}

uint64_t ScreenDigest(const Screen& screen) {
  // Four lanes of a multiply-and-rotate mix over the indices, eight bytes at a time, then the
  // palette and the shown area. Pixels outside the shown area hold index 0.
  uint64_t lanes[4] = {0x9E3779B97F4A7C15u, 0xC2B2AE3D27D4EB4Fu, 0x165667B19E3779F9u,
                       0x27D4EB2F165667C5u};
  const auto mix = [](uint64_t lane, uint64_t word) {
    lane += word * 0xC2B2AE3D27D4EB4Fu;
    return ((lane << 31) | (lane >> 33)) * 0x9E3779B97F4A7C15u;
  };
  const uint8_t* bytes = screen.indices.data();
  const size_t size = screen.indices.size();
  size_t at = 0;
  for (; at + 32 <= size; at += 32) {
    for (int lane = 0; lane < 4; ++lane) {
      uint64_t word;
      std::memcpy(&word, bytes + at + 8 * lane, 8);
      lanes[lane] = mix(lanes[lane], word);
    }
  }
  for (; at < size; ++at) lanes[0] = mix(lanes[0], bytes[at]);
  for (size_t i = 0; i < screen.palette.size(); ++i)
    lanes[i % 4] = mix(lanes[i % 4], Packed(screen.palette[i]));
  const Screen::Area& a = screen.shown;
  lanes[0] = mix(lanes[0], uint64_t(uint32_t(a.x)) << 32 | uint32_t(a.y));
  lanes[1] = mix(lanes[1], uint64_t(uint32_t(a.width)) << 32 | uint32_t(a.height));
  return mix(mix(mix(lanes[0], lanes[1]), lanes[2]), lanes[3]);
}
