// WritePng: the PNG files it writes, read back with libpng, and what it leaves on failure.

#include "picture/png_writer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "files/file_errors.h"
#include "picture/bitmap_file.h"
#include "picture_test_support.h"
#include "png_read_back.h"

namespace {

using picture_test::BmpLayout;
using picture_test::Bytes;
using picture_test::ChunkNames;
using picture_test::MakeBmp;
using picture_test::PngContents;
using picture_test::RampPalette;
using picture_test::TempDir;
using testing::ElementsAre;

BitmapFile Loaded(const Bytes& bytes) {
  BitmapFile image;
  if (!image.LoadFromMemory(bytes)) throw std::runtime_error("load failed: " + image.ErrorText());
  return image;
}

// Pixel data whose bytes (padding included) are distinct numbers.
Bytes Numbered(size_t size) {
  Bytes pixels(size);
  for (size_t i = 0; i < size; ++i) pixels[i] = static_cast<uint8_t>(i * 7 + i / 256);
  return pixels;
}

// Writes `image`, reads the PNG back into `png` and checks everything it holds against the
// image.
void WriteAndCheckInto(const BitmapFile& image, PngContents& png) {
  TempDir dir;
  const std::string path = dir.File("out.png");
  EXPECT_TRUE(WritePng(path, image));
  EXPECT_THAT(dir.Names(), ElementsAre("out.png"));  // no temporary file left
  ASSERT_TRUE(picture_test::ReadPng(path, png));
  EXPECT_EQ(png.width, static_cast<png_uint_32>(image.Width()));
  EXPECT_EQ(png.height, static_cast<png_uint_32>(image.Height()));
  EXPECT_EQ(png.bit_depth, image.BitCount());
  EXPECT_EQ(png.color_type, PNG_COLOR_TYPE_PALETTE);
  EXPECT_EQ(png.interlace, PNG_INTERLACE_NONE);
  EXPECT_EQ(png.compression, PNG_COMPRESSION_TYPE_BASE);
  EXPECT_EQ(png.filter, PNG_FILTER_TYPE_BASE);
  EXPECT_EQ(png.palette.size(), static_cast<size_t>(image.ColorCount()));
  for (size_t i = 0; i < png.palette.size(); ++i) {
    const uint8_t* entry = image.Palette() + i * 4;
    ASSERT_EQ(png.palette[i].red, entry[2]) << "entry " << i;
    ASSERT_EQ(png.palette[i].green, entry[1]) << "entry " << i;
    ASSERT_EQ(png.palette[i].blue, entry[0]) << "entry " << i;
  }
  const size_t row_bytes = (static_cast<size_t>(image.Width()) * image.BitCount() + 7) / 8;
  EXPECT_EQ(png.rows.size(), static_cast<size_t>(image.Height()));
  // Bits past the last pixel of a row are no pixels: only the pixel bits are compared.
  const int spare_bits =
      static_cast<int>(row_bytes * 8 - static_cast<size_t>(image.Width()) * image.BitCount());
  const uint8_t last_mask = static_cast<uint8_t>(0xFF << spare_bits);
  for (size_t y = 0; y < png.rows.size(); ++y) {
    ASSERT_EQ(png.rows[y].size(), row_bytes);
    const uint8_t* row = image.Row(static_cast<int32_t>(y));
    ASSERT_EQ(std::memcmp(png.rows[y].data(), row, row_bytes - 1), 0) << "row " << y;
    ASSERT_EQ(png.rows[y][row_bytes - 1] & last_mask, row[row_bytes - 1] & last_mask)
        << "row " << y;
  }
  // Signature, IHDR, PLTE, the image data and IEND: nothing else.
  std::vector<std::string> chunks = ChunkNames(picture_test::ReadFile(path));
  EXPECT_GE(chunks.size(), 4u);
  while (chunks.size() > 4 && chunks[3] == "IDAT") chunks.erase(chunks.begin() + 3);
  EXPECT_THAT(chunks, ElementsAre("IHDR", "PLTE", "IDAT", "IEND"));
}

PngContents WriteAndCheck(const BitmapFile& image) {
  PngContents png;
  WriteAndCheckInto(image, png);
  return png;
}

TEST(WritePngTest, ScreenSizedPictureKeepsIndicesAndTheWholePalette) {
  const BitmapFile image = Loaded(MakeBmp(
      {.width = 640, .height = 480, .palette = RampPalette(256), .pixels = Numbered(640 * 480)}));
  const PngContents png = WriteAndCheck(image);
  ASSERT_EQ(png.rows.size(), 480u);
  EXPECT_EQ(png.palette.size(), 256u);
  // The BMP's last stored row is the PNG's first.
  EXPECT_EQ(png.rows[0][0], Numbered(640 * 480)[479 * 640]);
}

TEST(WritePngTest, RowPaddingIsNotWritten) {
  const PngContents png = WriteAndCheck(Loaded(
      MakeBmp({.width = 3, .height = 4, .palette = RampPalette(256), .pixels = Numbered(16)})));
  EXPECT_EQ(png.rows[0].size(), 3u);
}

TEST(WritePngTest, FourBitPictureKeepsItsDepth) {
  const PngContents png = WriteAndCheck(Loaded(MakeBmp({.width = 5,
                                                        .height = 2,
                                                        .bit_count = 4,
                                                        .palette = RampPalette(16),
                                                        .pixels = Numbered(8)})));
  EXPECT_EQ(png.bit_depth, 4);
  EXPECT_EQ(png.palette.size(), 16u);
  EXPECT_EQ(png.rows[0].size(), 3u);
}

TEST(WritePngTest, OneAndTwoBitPicturesKeepTheirDepth) {
  for (const uint16_t bits : {1, 2}) {
    const PngContents png = WriteAndCheck(Loaded(MakeBmp({.width = 13,
                                                          .height = 3,
                                                          .bit_count = bits,
                                                          .palette = RampPalette(1 << bits),
                                                          .pixels = Numbered(12)})));
    EXPECT_EQ(png.bit_depth, bits);
  }
}

TEST(WritePngTest, PaletteEntryBecomesRedGreenBlue) {
  Bytes palette = RampPalette(256);
  palette[8] = 0x10;
  palette[9] = 0x20;
  palette[10] = 0x30;
  palette[11] = 0x99;  // the reserved byte is dropped
  const PngContents png =
      WriteAndCheck(Loaded(MakeBmp({.palette = palette, .pixels = {2, 0, 0, 0}})));
  EXPECT_EQ(png.palette[2].red, 0x30);
  EXPECT_EQ(png.palette[2].green, 0x20);
  EXPECT_EQ(png.palette[2].blue, 0x10);
}

TEST(WritePngTest, RealWriterPicturesConvert) {
  for (const char* name : {"im_bmp4_c256_rle.bmp", "im_bmp3_c16.bmp", "netpbm_1.bmp"}) {
    SCOPED_TRACE(name);
    BitmapFile image;
    ASSERT_TRUE(image.Load(picture_test::FixturePath(name))) << image.ErrorText();
    WriteAndCheck(image);
  }
}

TEST(WritePngTest, TrueColourPictureIsRefusedWithItsMessage) {
  TempDir dir;
  BitmapFile image;
  ASSERT_TRUE(image.Load(picture_test::FixturePath("im_bmp3_truecolor.bmp")));
  testing::internal::CaptureStdout();
  const bool written = WritePng(dir.File("out.png"), image).Written();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "フルカラーBMPは扱えません\n");
  EXPECT_FALSE(written);
  EXPECT_TRUE(dir.Names().empty());
}

TEST(WritePngTest, ImageThatDidNotLoadWritesNothing) {
  TempDir dir;
  BitmapFile image;
  EXPECT_FALSE(image.Load(dir.File("missing.bmp")));
  EXPECT_FALSE(WritePng(dir.File("out.png"), image));
  EXPECT_TRUE(dir.Names().empty());
}

TEST(WritePngTest, MissingFolderFailsWithoutAFile) {
  TempDir dir;
  const BitmapFile image = Loaded(MakeBmp({.palette = RampPalette(256), .pixels = {1, 0, 0, 0}}));
  EXPECT_FALSE(WritePng(dir.File("no/such/folder/out.png"), image));
  EXPECT_TRUE(dir.Names().empty());
}

TEST(WritePngTest, ExistingFileIsReplacedWhole) {
  TempDir dir;
  const std::string path = dir.File("out.png");
  picture_test::WriteFile(path, Bytes(100000, 0xAB));
  const BitmapFile image = Loaded(MakeBmp({.palette = RampPalette(256), .pixels = {1, 0, 0, 0}}));
  ASSERT_TRUE(WritePng(path, image));
  const Bytes written = picture_test::ReadFile(path);
  EXPECT_LT(written.size(), 2000u);
  EXPECT_EQ(ChunkNames(written).back(), "IEND");
  EXPECT_THAT(dir.Names(), ElementsAre("out.png"));
}

// Lowers the largest file size this process may write, so that writes fail part way.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    previous_signal_ = signal(SIGXFSZ, SIG_IGN);  // a failed write, not a killed process
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    signal(SIGXFSZ, previous_signal_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit saved_{};
  sighandler_t previous_signal_;
};

TEST(WritePngTest, FailedWriteKeepsTheOldFileAndLeavesNoTemporary) {
  TempDir dir;
  const std::string path = dir.File("out.png");
  const Bytes old(5000, 0x5A);
  picture_test::WriteFile(path, old);
  // Incompressible pixels: the PNG is far larger than the limit.
  Bytes pixels(256 * 256);
  uint32_t state = 1;
  for (uint8_t& pixel : pixels) {
    state = state * 1103515245u + 12345u;
    pixel = static_cast<uint8_t>(state >> 24);
  }
  const BitmapFile image =
      Loaded(MakeBmp({.width = 256, .height = 256, .palette = RampPalette(256), .pixels = pixels}));
  bool written = true;
  {
    FileSizeLimit limit(4096);
    written = WritePng(path, image).Written();
  }
  EXPECT_FALSE(written);
  EXPECT_EQ(picture_test::ReadFile(path), old);
  EXPECT_THAT(dir.Names(), ElementsAre("out.png"));
}

TEST(WritePngTest, FolderAtTheTargetStaysAndNoTemporaryIsLeft) {
  TempDir dir;
  std::filesystem::create_directory(dir.File("out.png"));
  const BitmapFile image = Loaded(MakeBmp({.palette = RampPalette(256), .pixels = {1, 0, 0, 0}}));
  EXPECT_FALSE(WritePng(dir.File("out.png"), image));
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("out.png")));
  EXPECT_THAT(dir.Names(), ElementsAre("out.png"));
}

// Each way to fail carries an error of its own kind, with the system's reason where there is one.
TEST(WritePngTest, FailureSaysWhatKindAndWhy) {
  TempDir dir;
  const BitmapFile image = Loaded(MakeBmp({.palette = RampPalette(256), .pixels = {1, 0, 0, 0}}));
  std::filesystem::create_symlink("/tmp/vwrd-never-written.png", dir.File("out.png"));
  struct Case {
    std::string path;
    bool link_refused;
    int system_reason;
  };
  const Case cases[] = {
      {dir.File("out.png"), true, 0},
      {dir.File("no/such/folder/out.png"), false, ENOENT},
  };
  for (const Case& c : cases) {
    const PngWriteResult result = WritePng(c.path, image);
    ASSERT_FALSE(result) << c.path;
    const VwrdError* failure = result.Failure();
    ASSERT_NE(dynamic_cast<const FileWriteError*>(failure), nullptr) << c.path;
    EXPECT_EQ(dynamic_cast<const LinkRefusedError*>(failure) != nullptr, c.link_refused) << c.path;
    if (c.system_reason != 0) {
      EXPECT_EQ(failure->SystemReason(), c.system_reason) << c.path;
    }
  }
  BitmapFile empty;
  const PngWriteResult unloaded = WritePng(dir.File("empty.png"), empty);
  ASSERT_NE(unloaded.Failure(), nullptr);
  EXPECT_EQ(dynamic_cast<const FileWriteError*>(unloaded.Failure()), nullptr);
}

}  // namespace
