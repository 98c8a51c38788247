#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "wrdplayer/screen.h"

// A screen at a quarter of its size, as the storyboard and the contact sheet show it: each
// pixel the mean of a 4 x 4 block of the screen, rounded to the nearest.
struct ScreenTile {
  static constexpr int kScale = 4;
  static constexpr int kWidth = Screen::kWidth / kScale, kHeight = Screen::kHeight / kScale;
  std::vector<uint8_t> rgb = std::vector<uint8_t>(size_t{kWidth} * kHeight * 3);  // row-major

  friend bool operator==(const ScreenTile&, const ScreenTile&) = default;
};

ScreenTile TileOf(const Screen& screen);

// A 64-bit digest of what a screen shows (the colour of every pixel), far cheaper than its
// tile: screens with equal digests are taken to be the same.
uint64_t ScreenDigest(const Screen& screen);
