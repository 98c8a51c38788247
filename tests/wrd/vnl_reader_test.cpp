#include "wrd/vnl_reader.h"

#include <gtest/gtest.h>

#include <sstream>

#include "tests/wrd/bytes.h"
#include "wrd/vbinary_out.h"

namespace {

std::vector<uint8_t> Entries(uint8_t value) {
  std::vector<uint8_t> entries;
  for (int i = 0; i < 256; ++i) {
    entries.insert(entries.end(), {static_cast<uint8_t>(i), value, value, value});
  }
  return entries;
}

// The header and set-up block the build writes, with two pictures.
Bytes BuildSetUp() {
  std::ostringstream out;
  VBinaryOut writer(out);
  writer.SetTitle("Varnel WRD Maker ver.1.1");
  writer.SetTimebase(48);
  writer.EndBlock();
  VBinaryOut::PageDescriptor screen{-1, 640, 480, 0};
  writer.AllocatePage(&screen, 1);
  for (int id = -1; id >= -4; --id) {
    writer.AllocatePalette(id);
  }
  writer.SetPalette(-3, Entries(255).data(), 256);
  writer.SetPalette(-4, Entries(0).data(), 256);
  writer.LoadPicture(0, 0, "a.png");
  writer.LoadPicture(1, 1, "b.png");
  writer.Start();
  EXPECT_TRUE(writer.Close());
  return ToBytes(out.str());
}

TEST(VnlReader, BuildSetUpHasTheKnownBytes) {
  Bytes file = BuildSetUp();
  Bytes title = ToBytes("Varnel WRD Maker ver.1.1");
  Bytes white = Entries(255);
  Bytes black = Entries(0);
  Bytes expected = Concat({kHeader,
                           {0x19, 0x71},
                           title,
                           {0x03, 0x21, 0x30, 0x00},
                           {0x01, 0x00},
                           {0x00, 0x08, 0x25, 0xFF, 0xFF, 0x80, 0x02, 0xE0, 0x01, 0x00},
                           {0x00, 0x03, 0x21, 0xFF, 0xFF},
                           {0x00, 0x03, 0x21, 0xFE, 0xFF},
                           {0x00, 0x03, 0x21, 0xFD, 0xFF},
                           {0x00, 0x03, 0x21, 0xFC, 0xFF},
                           {0x00, 0x88, 0x03, 0x41, 0xFD, 0xFF},
                           white,
                           {0x00, 0x88, 0x03, 0x41, 0xFC, 0xFF},
                           black,
                           {0x00, 0x0A, 0x27, 0, 0, 0, 0, 'a', '.', 'p', 'n', 'g'},
                           {0x00, 0x0A, 0x27, 1, 0, 1, 0, 'b', '.', 'p', 'n', 'g'},
                           {0x00, 0x01, 0x01},
                           {0x00, 0x01, 0x00}});
  EXPECT_EQ(file, expected);
}

TEST(VnlReader, BuildSetUpReadsBackByMeaning) {
  Bytes file = BuildSetUp();
  VnlFile vnl = ReadVnl(file);
  EXPECT_EQ(vnl.version, 1u);
  std::vector<std::string> lines;
  for (const VnlRecord& record : vnl.records) {
    lines.push_back(std::to_string(record.block) + " " + std::to_string(record.tick) + " " +
                    DescribeRecord(record));
  }
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "0 0 SetTitle(\"Varnel WRD Maker ver.1.1\")",
                       "0 0 SetTimebase(48)",
                       "0 0 EndBlock()",
                       "1 0 AllocatePage({-1, 640, 480, 0})",
                       "1 0 AllocatePalette(-1)",
                       "1 0 AllocatePalette(-2)",
                       "1 0 AllocatePalette(-3)",
                       "1 0 AllocatePalette(-4)",
                       "1 0 SetPalette(-3, [0..255] FFFFFF)",
                       "1 0 SetPalette(-4, [0..255] 000000)",
                       "1 0 LoadPicture(0, 0, \"a.png\")",
                       "1 0 LoadPicture(1, 1, \"b.png\")",
                       "1 0 Start()",
                       "1 0 EndBlock()",
                   }));
  EXPECT_EQ(vnl.records[3].offset, 16u + 26u + 4u + 2u);
  EXPECT_EQ(vnl.records[8].payload.size(), 1026u);
}

TEST(VnlReader, TicksAccumulateAndRestartAfterStart) {
  std::ostringstream out;
  {
    VBinaryOut writer(out);
    writer.EndBlock();
    writer.SetTick(40);
    writer.ChangePalette(1);
    writer.Start();
    writer.SetTick(768);
    writer.DrawText(-1, 255, 1, 255, 0, {300, 400}, "Hello");
    writer.SetTick(576);
    writer.BlendPalette(-1, -3, -2, 0, 8, 0, 0, 8, 0, 100, 0);
  }
  VnlFile vnl = ReadVnl(ToBytes(out.str()));
  std::vector<std::pair<uint32_t, std::string>> records;
  for (const VnlRecord& record : vnl.records) {
    if (record.block == 1) {
      records.emplace_back(record.tick, DescribeRecord(record));
    }
  }
  EXPECT_EQ(records, (std::vector<std::pair<uint32_t, std::string>>{
                         {40, "ChangePalette(1)"},
                         {40, "Start()"},
                         {576, "BlendPalette(-1, -3, -2, 0, 8, 0, 0, 8, 0, 100, 0)"},
                         {768, "DrawText(-1, 255, 1, 255, 0, (300,400), \"Hello\")"},
                         {768, "EndBlock()"},
                     }));
}

struct DescribeCase {
  const char* name;
  int block;
  uint8_t opcode;
  Bytes payload;
  const char* line;
};

void PrintTo(const DescribeCase& c, std::ostream* os) { *os << c.name; }

class Describe : public testing::TestWithParam<DescribeCase> {};

TEST_P(Describe, GivesTheReadableLine) {
  VnlRecord record;
  record.block = GetParam().block;
  record.opcode = GetParam().opcode;
  record.payload = GetParam().payload;
  EXPECT_EQ(DescribeRecord(record), GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(
    Records, Describe,
    testing::Values(
        DescribeCase{"Move",
                     1,
                     0x61,
                     {2, 0, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0x9F, 0, 0x77, 0, 0xF0, 0, 0xB4, 0},
                     "Move(2, -1, 255, 0, (0,0)-(159,119), (240,180))"},
        DescribeCase{"FillRect",
                     1,
                     0x52,
                     {0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0x7F, 2, 0xDF, 1, 0},
                     "FillRect(-1, 255, (0,0)-(639,479), 0)"},
        DescribeCase{"CopyPalette", 1, 0x43, {0, 0, 0xFF, 0xFF}, "CopyPalette(0, -1)"},
        DescribeCase{"DisplayPage", 1, 0x35, {0xFF, 0xFF, 0, 0, 0, 0}, "DisplayPage(-1, (0,0))"},
        DescribeCase{"SetPaletteRuns",
                     1,
                     0x41,
                     {0xFF, 0xFF, 5, 0x12, 0x34, 0x56, 6, 0x12, 0x34, 0x56, 9, 0, 0, 1},
                     "SetPalette(-1, [5..6] 123456, [9] 000001)"},
        DescribeCase{"TimebaseOnlyInDefinitionBlock", 0, 0x21, {0x30, 0}, "SetTimebase(48)"},
        DescribeCase{"PaletteList", 1, 0x21, {0xFF, 0xFF, 2, 0}, "AllocatePalette(-1, 2)"},
        DescribeCase{"TextEscapes",
                     1,
                     0x27,
                     {0, 0, 0, 0, 'a', '"', '\\', 0x0A},
                     "LoadPicture(0, 0, \"a\\x22\\x5C\\x0A\")"},
        DescribeCase{
            "Cp932PairKeepsItsBackslash", 0, 0x71, {0x83, 0x5C, '!'}, "SetTitle(\"\x83\x5C!\")"},
        DescribeCase{"OtherOpcodeRaw", 1, 0x36, {1, 0, 0xAB}, "opcode 36: 01 00 AB"},
        DescribeCase{"OtherOpcodeEmpty", 1, 0x7F, {}, "opcode 7F: (no payload)"},
        DescribeCase{"WrongLengthIsRaw", 1, 0x31, {1, 2, 3}, "opcode 31: 01 02 03"},
        DescribeCase{"ShortDrawTextIsRaw", 1, 0x51, {1, 2}, "opcode 51: 01 02"}),
    [](const auto& info) { return std::string(info.param.name); });

// A small valid file: every shorter prefix is an error at or before its end.
TEST(VnlReader, TruncationAtEveryByteIsAnErrorWithItsOffset) {
  std::ostringstream out;
  {
    VBinaryOut writer(out);
    writer.SetTitle("T");
    writer.EndBlock();
    writer.SetTick(200);
    writer.DrawText(-1, 255, 1, 2, 0, {1, 2}, "ab");
  }
  Bytes file = ToBytes(out.str());
  ASSERT_NO_THROW(ReadVnl(file));
  for (size_t size = 0; size < file.size(); ++size) {
    Bytes prefix(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(size));
    try {
      ReadVnl(prefix);
      ADD_FAILURE() << "prefix of " << size << " bytes read without error";
    } catch (const VnlError& e) {
      EXPECT_LE(e.Offset(), size);
      EXPECT_EQ(std::string(e.what()).rfind("バイト位置 " + std::to_string(e.Offset()) + ": ", 0),
                0u)
          << e.what();
    }
  }
}

struct BadInput {
  const char* name;
  Bytes file;
  size_t offset;
  const char* message;
};

void PrintTo(const BadInput& c, std::ostream* os) { *os << c.name; }

class BadVnl : public testing::TestWithParam<BadInput> {};

TEST_P(BadVnl, IsRefusedAtItsOffset) {
  try {
    ReadVnl(GetParam().file);
    FAIL() << "no error";
  } catch (const VnlError& e) {
    EXPECT_EQ(e.Offset(), GetParam().offset);
    EXPECT_STREQ(e.what(), GetParam().message);
  }
}

Bytes WithHeader(Bytes rest) { return Concat({kHeader, rest}); }

INSTANTIATE_TEST_SUITE_P(
    Files, BadVnl,
    testing::Values(
        BadInput{
            "Empty", {}, 0, "バイト位置 0: 16 バイトのヘッダーの途中でファイルが終わっています"},
        BadInput{"WrongSignature",
                 Concat({ToBytes("Varnel WRX"), {0, 0, 1, 0, 0, 0, 1, 0, 0, 1, 0}}), 0,
                 "バイト位置 0: VNL ファイルではありません (\"Varnel WRD\" の署名がありません)"},
        BadInput{"NonZeroPadding",
                 Concat({ToBytes("Varnel WRD"), {0, 1, 1, 0, 0, 0, 1, 0, 0, 1, 0}}), 10,
                 "バイト位置 10: ヘッダーのバイト 10 と 11 が 00 00 ではありません"},
        BadInput{"OtherVersion", Concat({ToBytes("Varnel WRD"), {0, 0, 2, 0, 0, 0, 1, 0, 0, 1, 0}}),
                 12, "バイト位置 12: 形式のバージョン 2 には対応していません"},
        BadInput{"NoDataBlock", WithHeader({0x01, 0x00}), 18,
                 "バイト位置 18: Data ブロックの前でファイルが終わっています"},
        BadInput{"OverlongLength", WithHeader({0x81, 0x81, 0x81, 0x81, 0x01}), 16,
                 "バイト位置 16: レコードの長さが 4 バイトを超えています"},
        BadInput{"OverlongDelta", WithHeader({0x01, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}), 18,
                 "バイト位置 18: レコードのティック差分が 4 バイトを超えています"},
        BadInput{"LengthPastTheEnd", WithHeader({0x01, 0x00, 0x00, 0x05, 0x31, 0x01}), 19,
                 "バイト位置 19: レコードの長さ 5 がファイルの終わりを越えています"},
        BadInput{"HugeLength", WithHeader({0xFF, 0xFF, 0xFF, 0x7F, 0x71}), 16,
                 "バイト位置 16: レコードの長さ 268435455 がファイルの終わりを越えています"},
        BadInput{
            "ZeroLength", WithHeader({0x00}), 16,
            "バイト位置 16: レコードの長さが 0 です (レコードには少なくともオペコードがあります)"},
        BadInput{"EndRecordWithPayload", WithHeader({0x02, 0x00, 0x05}), 16,
                 "バイト位置 16: 終了レコードにデータがあります"},
        BadInput{"BytesAfterTheEnd", WithHeader({0x01, 0x00, 0x00, 0x01, 0x00, 0xAA, 0xBB}), 21,
                 "バイト位置 21: Data ブロックの終わりの後に 2 バイトあります"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(VnlReader, TickBeyond32BitsIsAnError) {
  Bytes file = WithHeader({0x01, 0x00});
  for (int i = 0; i < 17; ++i) {  // 17 deltas of 2^28 - 1 pass 2^32
    file.insert(file.end(), {0xFF, 0xFF, 0xFF, 0x7F, 0x01, 0x31});
  }
  file.insert(file.end(), {0x00, 0x01, 0x00});
  try {
    ReadVnl(file);
    FAIL() << "no error";
  } catch (const VnlError& e) {
    EXPECT_EQ(e.Offset(), 18u + 16 * 6);
    EXPECT_STREQ(e.what(), "バイト位置 114: ティックが 32 ビットを超えています");
  }
}

TEST(VnlReader, MissingFileIsAnError) {
  EXPECT_THROW(ReadVnlFile("/nonexistent-folder/none.vnl"), std::runtime_error);
}

}  // namespace
