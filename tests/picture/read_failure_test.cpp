// A failed read says why as an error object: the kind of failure, the system's reason and the
// byte of the file where it was found, beside the text the user reads.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>

#include "files/file_errors.h"
#include "picture/bitmap_file.h"
#include "picture/bmp_header.h"
#include "picture/png_reader.h"
#include "picture/png_writer.h"
#include "picture/rgb_png_writer.h"
#include "picture_test_support.h"

namespace {

using namespace picture_test;

constexpr uint64_t kPixels = 14 + 40 + 256 * 4;  // where a full palette's pixels start

TEST(ReadFailure, ABmpThatFailsGivesItsErrorWithReasonAndPlace) {
  TempDir dir;
  ASSERT_EQ(::mkfifo(dir.File("pipe.bmp").c_str(), 0600), 0);
  const BmpLayout plain{.width = 4, .height = 4, .palette = RampPalette(256), .pixels = Bytes(16)};
  Bytes cut = MakeBmp(plain);
  cut.resize(cut.size() - 3);
  BmpLayout odd_bits = plain;
  odd_bits.bit_count = 3;
  BmpLayout long_run = plain;
  long_run.compression = 1;
  long_run.pixels = {0x05, 0x01, 0x00, 0x01};  // five pixels in a row of four
  WriteFile(dir.File("cut.bmp"), cut);
  WriteFile(dir.File("odd.bmp"), MakeBmp(odd_bits));
  WriteFile(dir.File("run.bmp"), MakeBmp(long_run));
  const struct {
    std::string name;
    bool read_error;  // else a format error
    int system_reason;
    uint64_t offset;
  } cases[] = {
      {"missing.bmp", true, ENOENT, VwrdError::kNoOffset},
      {"", true, EISDIR, VwrdError::kNoOffset},  // the folder
      {"pipe.bmp", true, 0, VwrdError::kNoOffset},
      {"cut.bmp", false, 0, cut.size()},
      {"odd.bmp", false, 0, 28},
      {"run.bmp", false, 0, kPixels},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    BitmapFile image;
    ASSERT_FALSE(image.Load(dir.File(c.name)));
    const VwrdError* failure = image.Failure();
    ASSERT_NE(failure, nullptr);
    EXPECT_EQ(dynamic_cast<const FileReadError*>(failure) != nullptr, c.read_error);
    EXPECT_EQ(dynamic_cast<const BmpFormatError*>(failure) != nullptr, !c.read_error);
    EXPECT_EQ(failure->SystemReason(), c.system_reason);
    EXPECT_EQ(failure->Offset(), c.offset);
    EXPECT_TRUE(image.ErrorText().ends_with(failure->what())) << image.ErrorText();
  }
  BitmapFile image;
  ASSERT_TRUE(image.LoadFromMemory(MakeBmp(plain)));
  EXPECT_EQ(image.Failure(), nullptr);
}

TEST(ReadFailure, APngThatIsNoPalettePngGivesTheReasonAndPlace) {
  const uint8_t rgb[2 * 2 * 3] = {};
  const std::string truecolour = EncodeRgbPng(2, 2, rgb);
  BitmapFile image;
  ASSERT_TRUE(image.LoadFromMemory(
      MakeBmp({.width = 4, .height = 4, .palette = RampPalette(256), .pixels = Bytes(16)})));
  TempDir dir;
  ASSERT_TRUE(WritePng(dir / "p.png", image));
  Bytes cut = ReadFile(dir / "p.png");
  cut.resize(cut.size() - 20);
  const struct {
    Bytes bytes;
    std::string message;
    uint64_t offset;
  } cases[] = {
      {{1, 2, 3}, "PNG ファイルではありません", 0},
      {Bytes(truecolour.begin(), truecolour.end()),
       "パレット形式の PNG ではありません (カラータイプ 2)", 25},
  };
  for (const auto& c : cases) {
    try {
      DecodePalettePng(c.bytes);
      ADD_FAILURE() << c.message;
    } catch (const PngFormatError& error) {
      EXPECT_EQ(error.what(), c.message);
      EXPECT_EQ(error.Offset(), c.offset);
    }
  }
  // Cut inside the image data: the place is where the read that found the end began.
  try {
    DecodePalettePng(cut);
    ADD_FAILURE() << "a cut file was read";
  } catch (const PngFormatError& error) {
    EXPECT_GT(error.Offset(), 33u);  // after the header chunk
    EXPECT_LE(error.Offset(), cut.size());
    EXPECT_EQ(error.what(), "PNG ファイルが壊れているか、途中で切れています (位置 " +
                                std::to_string(error.Offset()) + ")");
  }
  EXPECT_THROW(LoadPalettePng(dir / "missing.png"), FileReadError);
}

}  // namespace
