#pragma once

#include <array>
#include <cstdint>
#include <vector>

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};
using Palette = std::array<Rgb, 256>;

// The player's 640 x 480 screen: one palette index per pixel and the palette it is shown with.
// Pixels outside `shown` (the part of the screen the displayed page covers) are black whatever
// their index (which is 0 there).
struct Screen {
  static constexpr int kWidth = 640, kHeight = 480;
  struct Area {
    int x = 0, y = 0, width = 0, height = 0;
    friend bool operator==(const Area&, const Area&) = default;
  };
  std::vector<uint8_t> indices = std::vector<uint8_t>(kWidth * kHeight);  // row-major
  Palette palette{};
  Area shown;  // empty before any page is displayed

  // Writes kWidth * kHeight * 3 bytes of RGB888, row-major, to `out`.
  void ToRgb(uint8_t* out) const;
  // The colour of screen pixel (x, y) (0 <= x < kWidth, 0 <= y < kHeight).
  Rgb PixelAt(int x, int y) const;
};
