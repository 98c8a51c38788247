#include "tools/make-demo/demo_pictures.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

using Colour = IndexedImage::Colour;

Colour Mix(Colour a, Colour b, double t) {
  auto channel = [t](uint8_t x, uint8_t y) { return uint8_t(std::lround(x + (y - x) * t)); };
  return {channel(a.red, b.red), channel(a.green, b.green), channel(a.blue, b.blue)};
}

// Fills palette entries first .. first + count - 1 with a gradient from a to b.
void Gradient(IndexedImage& image, int first, int count, Colour a, Colour b) {
  for (int i = 0; i < count; ++i)
    image.palette[first + i] = Mix(a, b, count > 1 ? double(i) / (count - 1) : 0);
}

// The index of a gradient of `count` entries at t in 0..1.
uint8_t Shade(int first, int count, double t) {
  return uint8_t(first + std::clamp(int(t * count), 0, count - 1));
}

// A small fixed pseudo-random sequence, so that the pictures are the same on every run.
class Dice {
 public:
  int Next(int bound) {
    state_ = state_ * 1103515245u + 12345u;
    return int((state_ >> 16) % uint32_t(bound));
  }

 private:
  uint32_t state_ = 20240607u;
};

double Distance(double x1, double y1, double x2, double y2) { return std::hypot(x1 - x2, y1 - y2); }

}  // namespace

IndexedImage SunrisePicture() {
  IndexedImage image(640, 480);
  const int horizon = 320;
  Gradient(image, 0, 64, {30, 40, 110}, {250, 150, 90});      // sky, top to horizon
  Gradient(image, 64, 64, {40, 60, 120}, {10, 20, 60});       // sea, horizon to bottom
  Gradient(image, 128, 16, {255, 250, 200}, {255, 170, 40});  // sun, centre to rim
  image.palette[150] = {255, 210, 120};                       // light on the water
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      uint8_t index;
      if (y < horizon) {
        const double sun = Distance(x, y, 320, horizon) / 80;
        index = sun < 1 ? Shade(128, 16, sun) : Shade(0, 64, double(y) / horizon);
      } else {
        const double depth = double(y - horizon) / (image.height - horizon);
        const bool glint = std::abs(x - 320) < 90 * (1 - depth) + 10 && (y / 4 + x / 23) % 5 == 0;
        index = glint ? 150 : Shade(64, 64, depth);
      }
      image.At(x, y) = index;
    }
  }
  return image;
}

IndexedImage NightPicture() {
  IndexedImage image(320, 240);
  Gradient(image, 0, 48, {5, 10, 35}, {30, 40, 90});         // sky
  Gradient(image, 48, 8, {10, 25, 20}, {20, 45, 30});        // hills
  Gradient(image, 56, 8, {255, 255, 230}, {200, 200, 160});  // moon
  image.palette[64] = {255, 255, 255};                       // stars
  image.palette[65] = {180, 190, 255};
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const double hill = 180 + 18 * std::sin(x / 37.0) + 10 * std::sin(x / 13.0 + 1);
      const double moon = Distance(x, y, 240, 60);
      uint8_t index;
      if (y > hill) {
        index = Shade(48, 8, (y - hill) / 60);
      } else if (moon < 28 && Distance(x, y, 252, 52) > 24) {
        index = Shade(56, 8, moon / 28);
      } else {
        index = Shade(0, 48, double(y) / 200);
      }
      image.At(x, y) = index;
    }
  }
  Dice dice;
  for (int i = 0; i < 90; ++i) {
    const int x = dice.Next(image.width), y = dice.Next(150);
    if (image.At(x, y) < 48) image.At(x, y) = uint8_t(64 + dice.Next(2));
  }
  return image;
}

IndexedImage TilePicture() {
  IndexedImage image(80, 60);
  Gradient(image, 0, 16, {250, 235, 200}, {235, 205, 160});  // ground
  Gradient(image, 16, 16, {200, 90, 80}, {140, 50, 60});     // diamond
  Gradient(image, 32, 16, {90, 140, 190}, {50, 90, 150});    // corner circles
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const double dx = std::abs(x + 0.5 - 40) / 40, dy = std::abs(y + 0.5 - 30) / 30;
      // Quarter circles at the four corners meet into whole circles across tile edges.
      const double corner =
          std::min({Distance(x + 0.5, y + 0.5, 0, 0), Distance(x + 0.5, y + 0.5, 80, 0),
                    Distance(x + 0.5, y + 0.5, 0, 60), Distance(x + 0.5, y + 0.5, 80, 60)});
      uint8_t index;
      if (dx + dy < 0.55) {
        index = Shade(16, 16, dx + dy);
      } else if (corner < 16) {
        index = Shade(32, 16, corner / 16);
      } else {
        index = Shade(0, 16, (dx + dy - 0.55) / 1.45);
      }
      image.At(x, y) = index;
    }
  }
  return image;
}

IndexedImage FieldPicture() {
  IndexedImage image(640, 480);
  Gradient(image, 0, 64, {110, 170, 240}, {200, 230, 250});   // sky
  Gradient(image, 64, 32, {120, 190, 80}, {60, 130, 50});     // near hill
  Gradient(image, 96, 32, {90, 160, 110}, {50, 110, 80});     // far hill
  Gradient(image, 128, 8, {255, 255, 255}, {225, 230, 240});  // clouds
  const struct {
    double x, y, rx, ry;
  } clouds[] = {{150, 90, 70, 26}, {200, 75, 50, 30}, {470, 130, 90, 24}, {520, 115, 45, 28}};
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const double far_hill = 270 + 30 * std::sin(x / 90.0 + 2);
      const double near_hill = 330 + 40 * std::sin(x / 140.0) + 12 * std::sin(x / 41.0);
      uint8_t index = Shade(0, 64, double(y) / 300);
      for (const auto& c : clouds) {
        const double d = std::hypot((x - c.x) / c.rx, (y - c.y) / c.ry);
        if (d < 1) index = Shade(128, 8, d);
      }
      if (y > far_hill) index = Shade(96, 32, (y - far_hill) / 150);
      if (y > near_hill) index = Shade(64, 32, (y - near_hill) / 150);
      image.At(x, y) = index;
    }
  }
  return image;
}
