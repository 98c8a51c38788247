// BitmapFile on pictures built byte by byte: row order, strides, palettes, run-length data.

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

#include "picture/bitmap_file.h"
#include "picture_test_support.h"

namespace {

using picture_test::BmpLayout;
using picture_test::Bytes;
using picture_test::MakeBmp;
using picture_test::RampPalette;

// Pixel data of `rows` rows of `stride` bytes where every byte of stored row r is r (mod 256).
Bytes StoredRowNumbers(int rows, int stride) {
  Bytes pixels;
  for (int r = 0; r < rows; ++r) pixels.insert(pixels.end(), stride, static_cast<uint8_t>(r));
  return pixels;
}

BitmapFile LoadBytes(const Bytes& bytes) {
  BitmapFile image;
  if (!image.LoadFromMemory(bytes)) throw std::runtime_error("load failed: " + image.ErrorText());
  return image;
}

TEST(BitmapFileTest, ScreenSizedPictureHasItsLastStoredRowOnTop) {
  const BitmapFile image = LoadBytes(MakeBmp({.width = 640,
                                              .height = 480,
                                              .palette = RampPalette(256),
                                              .pixels = StoredRowNumbers(480, 640)}));
  EXPECT_EQ(image.Stride(), 640);
  EXPECT_EQ(image.ColorCount(), 256);
  EXPECT_EQ(image.Row(0)[0], 479 % 256);
  EXPECT_EQ(image.Row(479)[0], 0);
  EXPECT_EQ(image.Row(1) - image.Row(0), -640);
}

TEST(BitmapFileTest, TopDownPictureHasItsFirstStoredRowOnTop) {
  const BitmapFile image = LoadBytes(MakeBmp(
      {.width = 5, .height = -3, .palette = RampPalette(256), .pixels = StoredRowNumbers(3, 8)}));
  EXPECT_EQ(image.Height(), 3);
  EXPECT_EQ(image.Row(0)[0], 0);
  EXPECT_EQ(image.Row(2)[4], 2);
}

struct StrideCase {
  int32_t width;
  uint16_t bits;
  int32_t stride;
};

class StrideTest : public testing::TestWithParam<StrideCase> {};

TEST_P(StrideTest, RowsArePaddedToWholeWords) {
  const StrideCase c = GetParam();
  const BitmapFile image = LoadBytes(MakeBmp({.width = c.width,
                                              .height = 2,
                                              .bit_count = c.bits,
                                              .palette = RampPalette(1 << c.bits),
                                              .pixels = StoredRowNumbers(2, c.stride)}));
  EXPECT_EQ(image.Stride(), c.stride);
  EXPECT_EQ(image.ColorCount(), 1 << c.bits);
  EXPECT_EQ(image.Row(0)[c.stride - 1], 1);
}

INSTANTIATE_TEST_SUITE_P(Strides, StrideTest,
                         testing::Values(StrideCase{3, 8, 4}, StrideCase{33, 1, 8},
                                         StrideCase{9, 4, 8}, StrideCase{7, 2, 4},
                                         StrideCase{4, 8, 4}));

TEST(BitmapFileTest, PaletteEntryKeepsBlueGreenRedOrder) {
  const BitmapFile image = LoadBytes(MakeBmp(
      {.bit_count = 1, .palette = {0x10, 0x20, 0x30, 0x00, 1, 2, 3, 4}, .pixels = {0, 0, 0, 0}}));
  uint32_t value = 0;
  std::memcpy(&value, image.Palette(), 4);
  EXPECT_EQ(value, 0x00302010u);  // on this little-endian machine, as the build reads it
  EXPECT_EQ(image.Palette()[4 + 3], 4);
}

TEST(BitmapFileTest, ShortColourTableLeavesTheRestBlackAndPixelsRight) {
  // 100 x 100 at 8 bits, colours used 16, pixel data at 118: the reader must not take the
  // pixel bytes for colours.
  Bytes pixels = StoredRowNumbers(100, 100);
  const BitmapFile image = LoadBytes(MakeBmp({.width = 100,
                                              .height = 100,
                                              .colours_used = 16,
                                              .palette = RampPalette(16),
                                              .pixels = pixels}));
  ASSERT_EQ(image.ColorCount(), 256);
  EXPECT_EQ(std::memcmp(image.Palette(), RampPalette(16).data(), 64), 0);
  for (int i = 16 * 4; i < 256 * 4; ++i) ASSERT_EQ(image.Palette()[i], 0) << "byte " << i;
  for (int y = 0; y < 100; ++y) ASSERT_EQ(image.Row(y)[99], 99 - y);
}

TEST(BitmapFileTest, SmallPictureWithShortColourTableLoadsItsPixels) {
  // The 16 x 16 layout of 374 bytes in all.
  const Bytes bytes = MakeBmp({.width = 16,
                               .height = 16,
                               .colours_used = 16,
                               .palette = RampPalette(16),
                               .pixels = StoredRowNumbers(16, 16)});
  ASSERT_EQ(bytes.size(), 374u);
  const BitmapFile image = LoadBytes(bytes);
  EXPECT_EQ(image.Row(0)[0], 15);
  EXPECT_EQ(image.Row(15)[15], 0);
}

TEST(BitmapFileTest, ColourTableEndsWhereThePixelsBegin) {
  // Colours used 0 (all 256) but pixel data right after 4 entries.
  const BitmapFile image = LoadBytes(
      MakeBmp({.width = 4, .height = 1, .palette = RampPalette(4), .pixels = {9, 9, 9, 9}}));
  EXPECT_EQ(image.Palette()[4 * 3 + 2], 4);  // entry 3 from the file
  EXPECT_EQ(image.Palette()[4 * 4 + 0], 0);  // entry 4 would be the pixels: black instead
}

TEST(BitmapFileTest, ColoursUsedAboveTheBitCountTakesTheFullTable) {
  const BitmapFile image = LoadBytes(MakeBmp(
      {.bit_count = 4, .colours_used = 17, .palette = RampPalette(16), .pixels = {0x70, 0, 0, 0}}));
  EXPECT_EQ(image.ColorCount(), 16);
  EXPECT_EQ(image.Palette()[15 * 4 + 2], 16);
}

TEST(BitmapFileTest, LongerInfoHeaderPutsThePaletteAfterIt) {
  for (const uint32_t header_size : {52u, 56u, 64u, 108u, 124u}) {
    const BitmapFile image = LoadBytes(
        MakeBmp({.header_size = header_size, .palette = RampPalette(256), .pixels = {7, 0, 0, 0}}));
    EXPECT_EQ(image.Palette()[7 * 4 + 2], 8) << header_size;
    EXPECT_EQ(image.Row(0)[0], 7) << header_size;
  }
}

TEST(BitmapFileTest, LastRowMayLackItsPadding) {
  Bytes pixels = StoredRowNumbers(2, 4);
  pixels.resize(4 + 3);
  const BitmapFile image =
      LoadBytes(MakeBmp({.width = 3, .height = 2, .palette = RampPalette(256), .pixels = pixels}));
  EXPECT_EQ(image.Row(0)[2], 1);
}

TEST(BitmapFileTest, TrueColourPictureReportsItsBitCountOnly) {
  for (const uint16_t bits : {16, 24, 32}) {
    // No pixel data at all: the headers are all that is read.
    const BitmapFile image =
        LoadBytes(MakeBmp({.width = 16384, .height = 16384, .bit_count = bits}));
    EXPECT_EQ(image.BitCount(), bits);
    EXPECT_EQ(image.Width(), 16384);
    EXPECT_GT(image.ColorCount(), 256);
    EXPECT_EQ(image.Palette(), nullptr);
  }
}

// Run-length data of a 5 x 3 picture (stride 8), bottom row first.
BitmapFile LoadRle(const Bytes& data) {
  return LoadBytes(MakeBmp(
      {.width = 5, .height = 3, .compression = 1, .palette = RampPalette(256), .pixels = data}));
}

TEST(BitmapFileTest, RunLengthDataIsDecodedIntoPlainRows) {
  const BitmapFile image = LoadRle({
      3, 7, 2, 8, 0, 0,  // bottom row: 7 7 7 8 8, end of line
      0, 3, 1, 2, 3, 0,  // literal 1 2 3 with its pad byte
      0, 2, 1, 1,        // delta: right 1, up 1 (into the top row)
      1, 5, 0, 1,        // 5 at x = 4 of the top row, end of picture
  });
  const uint8_t bottom[] = {7, 7, 7, 8, 8};
  const uint8_t middle[] = {1, 2, 3, 0, 0};
  const uint8_t top[] = {0, 0, 0, 0, 5};
  EXPECT_EQ(std::memcmp(image.Row(2), bottom, 5), 0);
  EXPECT_EQ(std::memcmp(image.Row(1), middle, 5), 0);
  EXPECT_EQ(std::memcmp(image.Row(0), top, 5), 0);
}

TEST(BitmapFileTest, RunLengthDataMayEndAfterItsLastRow) {
  const BitmapFile image = LoadRle({5, 1, 0, 0, 5, 2, 0, 0, 5, 3, 0, 0});
  EXPECT_EQ(image.Row(0)[4], 3);
  EXPECT_EQ(image.Row(2)[0], 1);
}

TEST(BitmapFileTest, RunLengthRunsMayCoverTheRowPadding) {
  const BitmapFile image = LoadRle({8, 4, 0, 1});
  EXPECT_EQ(image.Row(2)[4], 4);
  EXPECT_EQ(image.Row(1)[0], 0);
}

TEST(BitmapFileTest, FailedLoadLeavesNoPicture) {
  BitmapFile image = LoadBytes(MakeBmp({.palette = RampPalette(256), .pixels = {1, 0, 0, 0}}));
  Bytes truncated = MakeBmp({.palette = RampPalette(256), .pixels = {1, 0, 0, 0}});
  truncated.resize(100);
  EXPECT_FALSE(image.LoadFromMemory(truncated));
  EXPECT_EQ(image.BitCount(), 0);
  EXPECT_EQ(image.Width(), 0);
  EXPECT_EQ(image.Palette(), nullptr);
  EXPECT_NE(image.ErrorText(), "");
}

TEST(BitmapFileTest, LoadReadsTheFileFromDisk) {
  picture_test::TempDir dir;
  const Bytes bytes = MakeBmp(
      {.width = 2, .height = 2, .palette = RampPalette(256), .pixels = {1, 2, 0, 0, 3, 4, 0, 0}});
  picture_test::WriteFile(dir.File("a.bmp"), bytes);
  BitmapFile image;
  ASSERT_TRUE(image.Load(dir.File("a.bmp"))) << image.ErrorText();
  EXPECT_EQ(image.Row(0)[1], 4);
  EXPECT_EQ(image.Row(1)[0], 1);
}

TEST(BitmapFileTest, TrailingBytesOfAFileAreIgnored) {
  picture_test::TempDir dir;
  Bytes bytes = MakeBmp({.palette = RampPalette(256), .pixels = {6, 0, 0, 0}});
  bytes.resize(bytes.size() + 100000, 0xEE);
  picture_test::WriteFile(dir.File("a.bmp"), bytes);
  BitmapFile image;
  ASSERT_TRUE(image.Load(dir.File("a.bmp"))) << image.ErrorText();
  EXPECT_EQ(image.Row(0)[0], 6);
}

// Scan hands over the stored rows a block at a time: together they are Load's pixels, and no
// block is read after the receiver says stop.
TEST(BitmapFileScanTest, BlocksAreTheStoredRowsAndStopWhenAsked) {
  picture_test::TempDir dir;
  for (const int height : {300, -300}) {  // bottom-up and top-down; 300 rows are several blocks
    const Bytes file = MakeBmp({.width = 301,
                                .height = height,
                                .palette = RampPalette(256),
                                .pixels = StoredRowNumbers(300, 304)});
    picture_test::WriteFile(dir.File("a.bmp"), file);
    BitmapFile image;
    Bytes seen;
    int blocks = 0;
    ASSERT_TRUE(image.Scan(dir.File("a.bmp"), [&](const uint8_t* rows, int32_t count) {
      seen.insert(seen.end(), rows, rows + static_cast<size_t>(count) * image.Stride());
      return ++blocks > 0;
    })) << image.ErrorText();
    EXPECT_EQ(seen, StoredRowNumbers(300, 304)) << height;
    EXPECT_GT(blocks, 1);
    EXPECT_EQ(image.Row(0), nullptr);
    EXPECT_EQ(image.Width(), 301);
    EXPECT_EQ(image.Palette()[4 * 7 + 2], 8);

    int asked = 0;
    ASSERT_TRUE(
        image.Scan(dir.File("a.bmp"), [&](const uint8_t*, int32_t) { return ++asked < 2; }));
    EXPECT_EQ(asked, 2);
    // A load after a scan has its own pixels.
    ASSERT_TRUE(image.Load(dir.File("a.bmp")));
    EXPECT_EQ(image.Row(height > 0 ? 299 : 0)[300], 0);
  }
}

TEST(BitmapFileScanTest, AShortFileIsRefusedBeforeAnyRowAndRunLengthDataComesWhole) {
  picture_test::TempDir dir;
  Bytes file = MakeBmp({.width = 640,
                        .height = 480,
                        .palette = RampPalette(256),
                        .pixels = StoredRowNumbers(480, 640)});
  file.resize(file.size() - 641);
  picture_test::WriteFile(dir.File("short.bmp"), file);
  BitmapFile image;
  int blocks = 0;
  EXPECT_FALSE(
      image.Scan(dir.File("short.bmp"), [&](const uint8_t*, int32_t) { return ++blocks > 0; }));
  EXPECT_EQ(blocks, 0);
  BitmapFile loaded;
  EXPECT_FALSE(loaded.Load(dir.File("short.bmp")));
  EXPECT_EQ(image.ErrorText(), loaded.ErrorText());

  picture_test::WriteFile(dir.File("rle.bmp"),
                          MakeBmp({.width = 5,
                                   .height = 3,
                                   .compression = 1,
                                   .palette = RampPalette(256),
                                   .pixels = {5, 1, 0, 0, 5, 2, 0, 0, 5, 3, 0, 1}}));
  int32_t rowsSeen = 0;
  ASSERT_TRUE(image.Scan(dir.File("rle.bmp"), [&](const uint8_t* rows, int32_t count) {
    rowsSeen += count;
    return rows[0] == 1;
  })) << image.ErrorText();
  EXPECT_EQ(rowsSeen, 3);
}

}  // namespace
