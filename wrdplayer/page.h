#pragma once

#include <cstdint>
#include <vector>

// One page of the player: a palette index per pixel, row-major.
struct Page {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;
};
