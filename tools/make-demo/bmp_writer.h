#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// A 256-colour picture: palette indices, top row first.
struct IndexedImage {
  struct Colour {
    uint8_t red = 0, green = 0, blue = 0;
  };

  IndexedImage(int width, int height)
      : width(width), height(height), pixels(size_t(width) * height) {}
  uint8_t& At(int x, int y) { return pixels[size_t(y) * width + x]; }

  int width;
  int height;
  std::array<Colour, 256> palette{};
  std::vector<uint8_t> pixels;
};

// The bytes of an uncompressed 8-bit Windows BMP file (BITMAPINFOHEADER, 256 palette entries,
// rows bottom-up, each padded to four bytes).
std::string BmpBytes(const IndexedImage& image);
