// ReadPalettePng: palette PNG files written by WritePng read back to the same indices and
// palette; anything else is refused without a crash.

#include "picture/png_reader.h"

#include <gtest/gtest.h>

#include "picture/bitmap_file.h"
#include "picture/png_writer.h"
#include "picture/rgb_png_writer.h"
#include "picture_test_support.h"

namespace {

using namespace picture_test;

Bytes Numbered(size_t size) {
  Bytes pixels(size);
  for (size_t i = 0; i < size; ++i) pixels[i] = uint8_t(i * 7 + i / 256);
  return pixels;
}

class ReadPalettePngTest : public testing::TestWithParam<uint16_t> {};

TEST_P(ReadPalettePngTest, ReadsWhatWritePngWrote) {
  const uint16_t bits = GetParam();
  BitmapFile image;
  ASSERT_TRUE(image.LoadFromMemory(MakeBmp({.width = 13,
                                            .height = 5,
                                            .bit_count = bits,
                                            .palette = RampPalette(1 << bits),
                                            .pixels = Numbered(5 * ((13 * bits + 31) / 32 * 4))})));
  TempDir folder;
  const std::string path = folder / "p.png";
  ASSERT_TRUE(WritePng(path, image));
  const std::optional<PalettePng> png = ReadPalettePngFile(path);
  ASSERT_TRUE(png);
  ASSERT_EQ(png->width, 13);
  ASSERT_EQ(png->height, 5);
  ASSERT_EQ(png->palette.size(), size_t(1) << bits);
  EXPECT_EQ(png->palette[1], (std::array<uint8_t, 3>{2, 1, 1}));
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 13; ++x) EXPECT_EQ(png->indices[size_t(y * 13 + x)], IndexAt(image, x, y));
  }
}

INSTANTIATE_TEST_SUITE_P(Depths, ReadPalettePngTest, testing::Values(1, 2, 4, 8));

TEST(ReadPalettePng, RefusesOtherKindsAndDamage) {
  const uint8_t rgb[2 * 2 * 3] = {};
  const std::string truecolour = EncodeRgbPng(2, 2, rgb);
  EXPECT_FALSE(ReadPalettePng(Bytes(truecolour.begin(), truecolour.end())));
  BitmapFile image;
  ASSERT_TRUE(image.LoadFromMemory(
      MakeBmp({.width = 4, .height = 4, .palette = RampPalette(256), .pixels = Numbered(16)})));
  TempDir folder;
  ASSERT_TRUE(WritePng(folder / "p.png", image));
  Bytes bytes = ReadFile(folder / "p.png");
  ASSERT_TRUE(ReadPalettePng(bytes));
  bytes.resize(bytes.size() - 20);  // cut inside the image data
  EXPECT_FALSE(ReadPalettePng(bytes));
  EXPECT_FALSE(ReadPalettePng(Bytes{1, 2, 3}));
  EXPECT_FALSE(ReadPalettePngFile(folder / "missing.png"));
}

}  // namespace
