// Pictures written by real BMP writers (ImageMagick and netpbm, see tests/data/picture) load
// with every pixel showing its source colour through the palette.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "picture/bitmap_file.h"
#include "picture_test_support.h"

namespace {

using picture_test::Bytes;
using picture_test::FixturePath;
using picture_test::IndexAt;
using picture_test::Ppm;

struct Fixture {
  const char* file;
  const char* source;
  uint16_t bits;
  uint32_t header_size;
};

void PrintTo(const Fixture& fixture, std::ostream* out) { *out << fixture.file; }

class RealWriterTest : public testing::TestWithParam<Fixture> {};

TEST_P(RealWriterTest, EveryPixelShowsItsSourceColourThroughThePalette) {
  const Fixture& fixture = GetParam();
  const Ppm source = Ppm::Read(FixturePath(fixture.source));
  BitmapFile image;
  ASSERT_TRUE(image.Load(FixturePath(fixture.file))) << image.ErrorText();
  EXPECT_EQ(image.ErrorText(), "");
  ASSERT_EQ(image.BitCount(), fixture.bits);
  ASSERT_EQ(image.Width(), source.width);
  ASSERT_EQ(image.Height(), source.height);
  EXPECT_EQ(image.Stride(), (source.width * fixture.bits + 31) / 32 * 4);
  ASSERT_EQ(image.ColorCount(), 1 << fixture.bits);
  const uint8_t* palette = image.Palette();
  for (int y = 0; y < source.height; ++y) {
    for (int x = 0; x < source.width; ++x) {
      const int index = IndexAt(image, x, y);
      const uint8_t* rgb = source.At(x, y);
      const uint8_t* entry = palette + index * 4;
      ASSERT_EQ(entry[2], rgb[0]) << "red at " << x << "," << y << " index " << index;
      ASSERT_EQ(entry[1], rgb[1]) << "green at " << x << "," << y;
      ASSERT_EQ(entry[0], rgb[2]) << "blue at " << x << "," << y;
    }
  }
}

TEST_P(RealWriterTest, PaletteIsTheTableAfterTheInfoHeader) {
  const Fixture& fixture = GetParam();
  const Bytes file = picture_test::ReadFile(FixturePath(fixture.file));
  ASSERT_EQ(file[14], fixture.header_size);  // the fixture is what the table says
  BitmapFile image;
  ASSERT_TRUE(image.Load(FixturePath(fixture.file))) << image.ErrorText();
  const size_t entries = static_cast<size_t>(image.ColorCount());
  ASSERT_GE(file.size(), 14 + fixture.header_size + entries * 4);
  EXPECT_EQ(std::memcmp(image.Palette(), file.data() + 14 + fixture.header_size, entries * 4), 0);
}

INSTANTIATE_TEST_SUITE_P(Pictures, RealWriterTest,
                         testing::Values(Fixture{"im_bmp3_c256.bmp", "src256.ppm", 8, 40},
                                         Fixture{"im_bmp4_c256.bmp", "src256.ppm", 8, 124},
                                         Fixture{"im_bmp3_c256_rle.bmp", "src256.ppm", 8, 40},
                                         Fixture{"im_bmp4_c256_rle.bmp", "src256.ppm", 8, 124},
                                         Fixture{"im_bmp3_c16.bmp", "src16.ppm", 4, 40},
                                         Fixture{"im_bmp4_c16.bmp", "src16.ppm", 4, 124},
                                         Fixture{"im_bmp3_c16_rle.bmp", "src16.ppm", 8, 40},
                                         Fixture{"im_bmp3_c2.bmp", "src2.ppm", 1, 40},
                                         Fixture{"netpbm_8.bmp", "src256.ppm", 8, 40},
                                         Fixture{"netpbm_4.bmp", "src16.ppm", 4, 40},
                                         Fixture{"netpbm_1.bmp", "src2.ppm", 1, 40}),
                         [](const testing::TestParamInfo<Fixture>& info) {
                           std::string name = info.param.file;
                           name.resize(name.size() - 4);
                           return name;
                         });

TEST(RealWriterTest, TrueColourPictureLoadsItsHeadersOnly) {
  BitmapFile image;
  ASSERT_TRUE(image.Load(FixturePath("im_bmp3_truecolor.bmp"))) << image.ErrorText();
  EXPECT_EQ(image.BitCount(), 24);
  EXPECT_EQ(image.Width(), 301);
  EXPECT_EQ(image.Height(), 19);
  EXPECT_EQ(image.Palette(), nullptr);
}

TEST(RealWriterTest, Os2CoreHeaderFailsTheLoad) {
  BitmapFile image;
  EXPECT_FALSE(image.Load(FixturePath("im_bmp2_c256.bmp")));
  EXPECT_NE(image.ErrorText().find("12バイトのヘッダ"), std::string::npos) << image.ErrorText();
  EXPECT_EQ(image.BitCount(), 0);
}

}  // namespace
