// A failed read says why as an error object: its kind, the system's reason and the byte of the
// file where it was found, beside the text the user reads.

#include <gtest/gtest.h>

#include <cerrno>

#include "files/file_errors.h"
#include "picture/bitmap_file.h"
#include "picture/bmp_header.h"
#include "picture/png_reader.h"
#include "picture/rgb_png_writer.h"
#include "picture_test_support.h"

namespace {

using namespace picture_test;

TEST(ReadFailure, AFailedLoadGivesItsErrorWithReasonAndPlace) {
  TempDir dir;
  const BmpLayout plain{.width = 4, .height = 4, .palette = RampPalette(256), .pixels = Bytes(16)};
  Bytes cut = MakeBmp(plain);
  cut.resize(cut.size() - 3);
  BmpLayout long_run = plain;
  long_run.compression = 1;
  long_run.pixels = {0x05, 0x01, 0x00, 0x01};  // five pixels in a row of four
  WriteFile(dir.File("cut.bmp"), cut);
  WriteFile(dir.File("run.bmp"), MakeBmp(long_run));
  const struct {
    std::string name;
    bool unread;  // a FileReadError, else a BmpFormatError
    int system_reason;
    uint64_t offset;
  } cases[] = {{"missing.bmp", true, ENOENT, VwrdError::kNoOffset},
               {"", true, EISDIR, VwrdError::kNoOffset},
               {"cut.bmp", false, 0, cut.size()},
               {"run.bmp", false, 0, 14 + 40 + 256 * 4}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    BitmapFile image;
    ASSERT_FALSE(image.Load(dir.File(c.name)));
    ASSERT_NE(image.Failure(), nullptr);
    EXPECT_EQ(dynamic_cast<const FileReadError*>(image.Failure()) != nullptr, c.unread);
    EXPECT_EQ(dynamic_cast<const BmpFormatError*>(image.Failure()) != nullptr, !c.unread);
    EXPECT_EQ(image.Failure()->SystemReason(), c.system_reason);
    EXPECT_EQ(image.Failure()->Offset(), c.offset);
    EXPECT_TRUE(image.ErrorText().ends_with(image.Failure()->what())) << image.ErrorText();
  }
  const std::string truecolour = EncodeRgbPng(1, 1, Bytes(3).data());
  try {
    DecodePalettePng(Bytes(truecolour.begin(), truecolour.end()));
    ADD_FAILURE() << "read as a palette PNG";
  } catch (const PngFormatError& error) {
    EXPECT_STREQ(error.what(), "パレット形式の PNG ではありません (カラータイプ 2)");
    EXPECT_EQ(error.Offset(), 25u);  // the colour type's byte
  }
}

}  // namespace
