// Broken and hostile BMP files: each one fails the load (or loads the headers only of a picture
// of more than 8 bits), never crashes and never reads outside the file. The table also runs
// under AddressSanitizer and UndefinedBehaviorSanitizer (scripts/sanitize.sh).

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <climits>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "picture/bitmap_file.h"
#include "picture_test_support.h"

namespace {

using picture_test::BmpLayout;
using picture_test::Bytes;
using picture_test::MakeBmp;
using picture_test::Put16;
using picture_test::Put32;
using picture_test::RampPalette;

// A good 5 x 3 8-bit picture (stride 8).
BmpLayout Plain() {
  return {.width = 5, .height = 3, .palette = RampPalette(256), .pixels = Bytes(24, 1)};
}

// A good 5 x 3 run-length encoded picture.
BmpLayout Rle(Bytes data) {
  BmpLayout layout = Plain();
  layout.compression = 1;
  layout.pixels = std::move(data);
  return layout;
}

Bytes With(BmpLayout layout, const std::function<void(BmpLayout&)>& change) {
  change(layout);
  return MakeBmp(layout);
}

Bytes Resized(Bytes bytes, size_t size) {
  bytes.resize(size);
  return bytes;
}

Bytes Patched32(size_t at, uint32_t value) {
  Bytes bytes = MakeBmp(Plain());
  Put32(bytes, at, value);
  return bytes;
}

struct BadInput {
  std::string name;
  Bytes bytes;
  uint16_t bits;  // 0: the load fails; else it loads the headers of a picture of this depth
};

void PrintTo(const BadInput& input, std::ostream* out) { *out << input.name; }

std::vector<BadInput> BadInputs() {
  const auto size = [](int32_t width, int32_t height) {
    return With(Plain(), [=](BmpLayout& s) {
      s.width = width;
      s.height = height;
    });
  };
  const auto bits = [](uint16_t bit_count) {
    return With(Plain(), [=](BmpLayout& s) { s.bit_count = bit_count; });
  };
  const auto compression = [](uint16_t bit_count, uint32_t value) {
    return With(Plain(), [=](BmpLayout& s) {
      s.bit_count = bit_count;
      s.compression = value;
    });
  };
  const auto header_size = [](uint32_t value) { return Patched32(14, value); };
  const auto offset = [](uint32_t value) { return Patched32(10, value); };
  return {
      {"empty file", {}, 0},
      {"zero width", size(0, 3), 0},
      {"zero height", size(5, 0), 0},
      {"negative width", size(-5, 3), 0},
      {"width above the limit", size(16385, 3), 0},
      {"height above the limit", size(5, 16385), 0},
      {"top-down height above the limit", size(5, -16385), 0},
      {"smallest height", size(5, INT32_MIN), 0},
      {"largest width", size(INT32_MAX, 3), 0},
      {"sizes whose product overflows", size(INT32_MAX, INT32_MAX), 0},
      {"largest picture in a tiny file", size(16384, 16384), 0},
      {"largest top-down picture in a tiny file", size(16384, -16384), 0},
      {"header size 0", header_size(0), 0},
      {"OS/2 core header", header_size(12), 0},
      {"header size 39", header_size(39), 0},
      {"header past the end of the file", header_size(2000), 0},
      {"header longer than any in use",
       [] {
         Bytes bytes = Resized(MakeBmp(Plain()), 8000);
         Put32(bytes, 14, 5000);
         return bytes;
       }(),
       0},
      {"largest header size", header_size(UINT32_MAX), 0},
      {"palette offset past the end of the file", header_size(1102 - 14 - 2), 0},
      {"colour table cut short by the end of the file", Resized(MakeBmp(Plain()), 54 + 100), 0},
      {"pixel data offset past the end of the file", offset(5000), 0},
      {"largest pixel data offset", offset(UINT32_MAX), 0},
      {"pixel data offset inside the headers", offset(20), 0},
      {"pixel data offset 0", offset(0), 0},
      {"no pixel data", With(Plain(), [](BmpLayout& s) { s.pixels.clear(); }), 0},
      {"last row incomplete", With(Plain(), [](BmpLayout& s) { s.pixels.resize(16 + 4); }), 0},
      {"bit count 0", bits(0), 0},
      {"bit count 3", bits(3), 0},
      {"bit count 7", bits(7), 0},
      {"bit count 9", bits(9), 0},
      {"bit count 48", bits(48), 0},
      {"RLE4", compression(4, 2), 0},
      {"RLE4 in an 8-bit picture", compression(8, 2), 0},
      {"RLE8 in a 4-bit picture", compression(4, 1), 0},
      {"bit fields in an 8-bit picture", compression(8, 3), 0},
      {"JPEG", compression(8, 4), 0},
      {"PNG", compression(8, 5), 0},
      {"top-down RLE8", With(Rle({5, 1, 0, 1}), [](BmpLayout& s) { s.height = -3; }), 0},
      {"RLE run past the row", MakeBmp(Rle({9, 1, 0, 1})), 0},
      {"RLE run past the row after others", MakeBmp(Rle({4, 1, 4, 1, 1, 1, 0, 1})), 0},
      {"RLE run past the picture", MakeBmp(Rle({0, 0, 0, 0, 0, 0, 1, 1, 0, 1})), 0},
      {"RLE literal past the row", MakeBmp(Rle({0, 9, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 1})), 0},
      {"RLE literal past the picture", MakeBmp(Rle({0, 0, 0, 0, 0, 0, 0, 3, 1, 2, 3, 0})), 0},
      {"RLE literal cut short", MakeBmp(Rle({0, 5, 1, 2})), 0},
      {"RLE delta past the row", MakeBmp(Rle({0, 2, 9, 0, 0, 1})), 0},
      {"RLE delta past the picture", MakeBmp(Rle({0, 2, 0, 3, 0, 1})), 0},
      {"RLE delta past both", MakeBmp(Rle({0, 2, 255, 255, 0, 1})), 0},
      {"RLE delta cut short", MakeBmp(Rle({0, 2, 1})), 0},
      {"RLE end of line past the picture", MakeBmp(Rle({0, 0, 0, 0, 0, 0, 0, 0, 0, 1})), 0},
      {"RLE data without its end mark", MakeBmp(Rle({5, 1, 0, 0})), 0},
      {"RLE data with half an end mark", MakeBmp(Rle({5, 1, 0, 0, 5, 1, 0, 0, 5, 1, 0, 0, 0})), 0},
      {"RLE data empty", MakeBmp(Rle({})), 0},
      {"RLE decompression bomb: 1080 bytes claim 16384 x 16384",
       With(Rle({0, 1}), [](BmpLayout& s) { s.width = s.height = 16384; }), 0},
      {"24 bits without pixel data",
       With(Plain(),
            [](BmpLayout& s) {
              s.bit_count = 24;
              s.pixels.clear();
            }),
       24},
      {"32-bit bit fields at the largest size",
       With(Plain(),
            [](BmpLayout& s) {
              s.bit_count = 32;
              s.compression = 3;
              s.width = s.height = 16384;
              s.palette.clear();
              s.pixels.clear();
            }),
       32},
      {"16 bits at too large a size",
       With(Plain(),
            [](BmpLayout& s) {
              s.bit_count = 16;
              s.width = 20000;
            }),
       0},
  };
}

void ExpectOutcome(const BitmapFile& image, bool loaded, uint16_t bits) {
  EXPECT_EQ(loaded, bits != 0) << image.ErrorText();
  EXPECT_EQ(image.BitCount(), bits);
  if (bits == 0) {
    EXPECT_NE(image.ErrorText(), "");
    EXPECT_EQ(image.Width(), 0);
    EXPECT_EQ(image.Palette(), nullptr);
  }
}

class BadInputTest : public testing::TestWithParam<BadInput> {};

TEST_P(BadInputTest, FailsTheLoadFromMemory) {
  BitmapFile image;
  ExpectOutcome(image, image.LoadFromMemory(GetParam().bytes), GetParam().bits);
}

TEST_P(BadInputTest, FailsTheLoadFromAFile) {
  picture_test::TempDir dir;
  picture_test::WriteFile(dir.File("bad.bmp"), GetParam().bytes);
  BitmapFile image;
  ExpectOutcome(image, image.Load(dir.File("bad.bmp")), GetParam().bits);
}

INSTANTIATE_TEST_SUITE_P(Table, BadInputTest, testing::ValuesIn(BadInputs()),
                         [](const testing::TestParamInfo<BadInput>& info) {
                           std::string name;
                           for (const char c : info.param.name) {
                             name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                           }
                           return name;
                         });

// Every prefix of a good file shorter than its pixels fails; the pixels need not carry the
// last row's padding.
struct Truncation {
  std::string name;
  Bytes bytes;
  size_t shortest_good;  // the shortest prefix that loads
};

void PrintTo(const Truncation& t, std::ostream* out) { *out << t.name; }

class TruncationTest : public testing::TestWithParam<Truncation> {};

TEST_P(TruncationTest, FailsAtEveryCutBeforeThePixelsEnd) {
  const Truncation& t = GetParam();
  for (size_t cut = 0; cut <= t.bytes.size(); ++cut) {
    BitmapFile image;
    const bool loaded = image.LoadFromMemory(std::span(t.bytes).first(cut));
    ASSERT_EQ(loaded, cut >= t.shortest_good) << "cut at " << cut << ": " << image.ErrorText();
  }
}

TEST(TruncationTest, RunLengthDataFailsAtEveryCutBeforeItsLastRowEnds) {
  const Bytes data = {5, 1, 0, 0, 0, 5, 1, 2, 3, 4, 5, 0, 0, 0, 0, 2, 3, 0, 2, 7, 0, 0, 0, 1};
  const Bytes bytes = MakeBmp(Rle(data));
  const size_t offset = bytes.size() - data.size();
  for (size_t cut = 0; cut <= bytes.size(); ++cut) {
    BitmapFile image;
    const bool loaded = image.LoadFromMemory(std::span(bytes).first(cut));
    // Whole, or cut right after the end of the last line.
    const bool whole = cut == bytes.size() || cut == offset + data.size() - 2;
    ASSERT_EQ(loaded, whole) << "cut at " << cut << ": " << image.ErrorText();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, TruncationTest,
    testing::Values(Truncation{"eight_bits", MakeBmp(Plain()), 54 + 1024 + 16 + 5},
                    Truncation{"four_bits_long_header",
                               With(Plain(),
                                    [](BmpLayout& s) {
                                      s.header_size = 124;
                                      s.bit_count = 4;
                                      s.colours_used = 3;
                                      s.palette = RampPalette(3);
                                      s.pixels = Bytes(12, 0x12);
                                    }),
                               138 + 12 + 8 + 3},
                    Truncation{"one_bit_top_down",
                               With(Plain(),
                                    [](BmpLayout& s) {
                                      s.bit_count = 1;
                                      s.height = -3;
                                      s.palette = RampPalette(2);
                                      s.pixels = Bytes(12, 0xA5);
                                    }),
                               62 + 8 + 1},
                    Truncation{"true_colour_headers",
                               With(Plain(), [](BmpLayout& s) { s.bit_count = 24; }), 54}),
    [](const testing::TestParamInfo<Truncation>& info) { return info.param.name; });

// A named pipe would block open() for ever and /dev/zero never ends: neither is read.
TEST(BadPathTest, OnlyARegularFileIsRead) {
  picture_test::TempDir dir;
  ASSERT_EQ(::mkfifo(dir.File("pipe.bmp").c_str(), 0600), 0);
  std::filesystem::create_symlink("/dev/zero", dir.File("zero.bmp"));
  const std::pair<std::string, std::string> cases[] = {
      {dir.Path().string(), "(フォルダ)"},
      {dir.File("pipe.bmp"), "(名前付きパイプ)"},
      {dir.File("zero.bmp"), "(デバイス)"},
  };
  for (const auto& [path, kind] : cases) {
    BitmapFile image;
    EXPECT_FALSE(image.Load(path));
    EXPECT_NE(image.ErrorText().find("通常のファイルではありません " + kind), std::string::npos)
        << image.ErrorText();
  }
}

TEST(BadPathTest, MissingFileFailsTheLoad) {
  picture_test::TempDir dir;
  BitmapFile image;
  EXPECT_FALSE(image.Load(dir.File("missing.bmp")));
  EXPECT_NE(image.ErrorText().find("missing.bmp"), std::string::npos) << image.ErrorText();
  EXPECT_EQ(image.BitCount(), 0);
}

}  // namespace
