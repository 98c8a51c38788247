// Byte-exact records of every emitter: the record as written in the Data block at delta 0
// (length, opcode, payload).
#include <gtest/gtest.h>

#include <functional>
#include <numeric>
#include <sstream>

#include "tests/wrd/bytes.h"
#include "wrd/vbinary_out.h"

namespace {

Bytes RecordOf(const std::function<void(VBinaryOut&)>& emit) {
  std::ostringstream out;
  {
    VBinaryOut writer(out);
    writer.EndBlock();
    emit(writer);
  }
  Bytes file = ToBytes(out.str());
  // header, 01 00, delta 00 ... then the end record 00 01 00
  EXPECT_GE(file.size(), 22u);
  EXPECT_EQ(file[18], 0x00);
  return Bytes(file.begin() + 19, file.end() - 3);
}

struct CommandCase {
  const char* name;
  std::function<void(VBinaryOut&)> emit;
  Bytes record;
};

void PrintTo(const CommandCase& c, std::ostream* os) { *os << c.name; }

class CommandRecord : public testing::TestWithParam<CommandCase> {};

TEST_P(CommandRecord, IsWrittenByteForByte) {
  EXPECT_EQ(RecordOf(GetParam().emit), GetParam().record);
}

const uint8_t kPattern[] = {0xF0, 0x0F, 0xAA, 0x55};
const int32_t kIds[] = {-1, 0x12345, 3};

Bytes Bytes32() {
  Bytes bytes(32);
  std::iota(bytes.begin(), bytes.end(), 0);
  return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Emitters, CommandRecord,
    testing::Values(
        CommandCase{"SetTitle", [](VBinaryOut& w) { w.SetTitle("ab"); }, {0x03, 0x71, 'a', 'b'}},
        CommandCase{
            "SetTimebase", [](VBinaryOut& w) { w.SetTimebase(48); }, {0x03, 0x21, 0x30, 0x00}},
        CommandCase{"AllocatePalette",
                    [](VBinaryOut& w) { w.AllocatePalette(-2); },
                    {0x03, 0x21, 0xFE, 0xFF}},
        CommandCase{"AllocatePage",
                    [](VBinaryOut& w) {
                      VBinaryOut::PageDescriptor page{-1, 640, 480, 0};
                      w.AllocatePage(&page, 1);
                    },
                    {0x08, 0x25, 0xFF, 0xFF, 0x80, 0x02, 0xE0, 0x01, 0x00}},
        CommandCase{"AllocatePageTwoPages",
                    [](VBinaryOut& w) {
                      VBinaryOut::PageDescriptor pages[] = {{1, 2, 3, 4}, {5, 6, 7, 8}};
                      w.AllocatePage(pages, 2);
                    },
                    {0x0F, 0x25, 1, 0, 2, 0, 3, 0, 4, 5, 0, 6, 0, 7, 0, 8}},
        CommandCase{"AllocatePageSingle",
                    [](VBinaryOut& w) {
                      w.AllocatePage(VBinaryOut::PageDescriptor{2, 16, 8, 1});
                    },
                    {0x08, 0x25, 2, 0, 16, 0, 8, 0, 1}},
        CommandCase{"SetPaletteOneEntry",
                    [](VBinaryOut& w) {
                      const uint8_t entry[] = {5, 0x12, 0x34, 0x56};
                      w.SetPalette(-1, entry, 1);
                    },
                    {0x07, 0x41, 0xFF, 0xFF, 0x05, 0x12, 0x34, 0x56}},
        CommandCase{"LoadPicture",
                    [](VBinaryOut& w) { w.LoadPicture(1, 1, "a.png"); },
                    {0x0A, 0x27, 1, 0, 1, 0, 'a', '.', 'p', 'n', 'g'}},
        CommandCase{"LoadPictureEmptyName",
                    [](VBinaryOut& w) { w.LoadPicture(0, 0, ""); },
                    {0x05, 0x27, 0, 0, 0, 0}},
        CommandCase{"FillRect",
                    [](VBinaryOut& w) {
                      w.FillRect(-1, 255, {0, 0, 639, 479}, 0);
                    },
                    {0x0D, 0x52, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0x7F, 0x02, 0xDF, 0x01, 0x00}},
        CommandCase{"Move",
                    [](VBinaryOut& w) {
                      w.Move(2, -1, 255, {0, 0, 159, 119}, {240, 180});
                    },
                    {0x13, 0x61, 0x02, 0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00,
                     0x00, 0x00, 0x9F, 0x00, 0x77, 0x00, 0xF0, 0x00, 0xB4, 0x00}},
        CommandCase{"MoveMode1",
                    [](VBinaryOut& w) {
                      w.MoveMode1(2, -1, 255, {0, 0, 159, 119}, {240, 180});
                    },
                    {0x13, 0x61, 0x02, 0x00, 0xFF, 0xFF, 0xFF, 0x01, 0x00, 0x00,
                     0x00, 0x00, 0x9F, 0x00, 0x77, 0x00, 0xF0, 0x00, 0xB4, 0x00}},
        CommandCase{"CopyPalette",
                    [](VBinaryOut& w) { w.CopyPalette(0, -1); },
                    {0x05, 0x43, 0x00, 0x00, 0xFF, 0xFF}},
        CommandCase{"BlendPalette",
                    [](VBinaryOut& w) { w.BlendPalette(-1, -3, -2, 0, 8, 0, 0, 8, 0, 95, 5); },
                    {0x0F, 0x42, 0xFF, 0xFF, 0xFD, 0xFF, 0xFE, 0xFF, 0, 8, 0, 0, 8, 0, 95, 5}},
        CommandCase{
            "ChangePalette", [](VBinaryOut& w) { w.ChangePalette(-2); }, {0x03, 0x31, 0xFE, 0xFF}},
        CommandCase{
            "DrawText",
            [](VBinaryOut& w) {
              w.DrawText(-1, 255, 1, 254, 0, {300, 400}, "Hi");
            },
            {0x0D, 0x51, 0xFF, 0xFF, 0xFF, 0x01, 0xFE, 0x00, 0x2C, 0x01, 0x90, 0x01, 'H', 'i'}},
        CommandCase{"DisplayPage",
                    [](VBinaryOut& w) {
                      w.DisplayPage(-1, {0, 0});
                    },
                    {0x07, 0x35, 0xFF, 0xFF, 0, 0, 0, 0}},
        CommandCase{"AllocatePalettesList",
                    [](VBinaryOut& w) { w.AllocatePalettes(kIds, 3); },
                    {0x07, 0x21, 0xFF, 0xFF, 0x45, 0x23, 0x03, 0x00}},
        CommandCase{"Command22", [](VBinaryOut& w) { w.Command22(-4); }, {0x03, 0x22, 0xFC, 0xFF}},
        CommandCase{"Command22List",
                    [](VBinaryOut& w) { w.Command22List(kIds, 2); },
                    {0x05, 0x22, 0xFF, 0xFF, 0x45, 0x23}},
        CommandCase{"Command26", [](VBinaryOut& w) { w.Command26(7); }, {0x03, 0x26, 0x07, 0x00}},
        CommandCase{"Command26List",
                    [](VBinaryOut& w) { w.Command26List(kIds, 1); },
                    {0x03, 0x26, 0xFF, 0xFF}},
        CommandCase{
            "Command26EmptyList", [](VBinaryOut& w) { w.Command26List(nullptr, 0); }, {0x01, 0x26}},
        CommandCase{"Command36",
                    [](VBinaryOut& w) { w.Command36(1, {2, 3}, {4, 5}, {-1, 6}); },
                    {0x0F, 0x36, 1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 0xFF, 0xFF, 6, 0}},
        CommandCase{"Command44", [](VBinaryOut& w) { w.Command44(1, -1, Bytes32().data()); },
                    Concat({{0x25, 0x44, 1, 0, 0xFF, 0xFF}, Bytes32()})},
        CommandCase{"Command54",
                    [](VBinaryOut& w) { w.Command54(1, 2, 3, 4, 5, 0x106); },
                    {0x0B, 0x54, 1, 0, 2, 3, 0, 4, 0, 5, 0, 6}},
        CommandCase{"Command54Second",
                    [](VBinaryOut& w) { w.Command54Second(1, 2, 3, 4, 5, 6); },
                    {0x0B, 0x54, 1, 0, 2, 3, 0, 4, 0, 5, 0, 6}},
        CommandCase{"Command55",
                    [](VBinaryOut& w) { w.Command55(3, 4, {1, 2, 3, 4}, 5); },
                    {0x0D, 0x55, 3, 0, 4, 1, 0, 2, 0, 3, 0, 4, 0, 5}},
        CommandCase{
            "MovePattern",
            [](VBinaryOut& w) {
              // width 9 needs two bytes per row; two rows; only the low size bytes
              w.MovePattern(1, -1, 2, 3, {0, 0, 8, 1}, {10, 20}, VBinaryOut::PatternSize{0x109, 2},
                            kPattern);
            },
            {0x19, 0x62, 1, 0,  0xFF, 0xFF, 2, 3, 0, 0,    0,    0,    8,
             0,    1,    0, 10, 0,    20,   0, 9, 2, 0xF0, 0x0F, 0xAA, 0x55}},
        CommandCase{
            "Command71", [](VBinaryOut& w) { w.Command71(2, 0); }, {0x05, 0x71, 2, 0, 0, 0}},
        CommandCase{"Command72",
                    [](VBinaryOut& w) { w.Command72(-1, "z"); },
                    {0x04, 0x72, 0xFF, 0xFF, 'z'}},
        CommandCase{
            "Command7F", [](VBinaryOut& w) { w.Command7F(kPattern, 2); }, {0x03, 0x7F, 0xF0, 0x0F}},
        CommandCase{"RawCommandAnyOpcode",
                    [](VBinaryOut& w) { w.RawCommand(0xA5, kPattern, 1); },
                    {0x02, 0xA5, 0xF0}},
        CommandCase{"RawCommandNoBytes",
                    [](VBinaryOut& w) { w.RawCommand(0x10, nullptr, 0); },
                    {0x01, 0x10}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CommandRecord, WhitePaletteHas1026PayloadBytesAndLength8803) {
  uint8_t entries[256 * 4];
  for (int i = 0; i < 256; ++i) {
    entries[4 * i] = static_cast<uint8_t>(i);
    entries[4 * i + 1] = entries[4 * i + 2] = entries[4 * i + 3] = 255;
  }
  Bytes record = RecordOf([&](VBinaryOut& w) { w.SetPalette(-3, entries, 256); });
  ASSERT_EQ(record.size(), 2u + 1u + 1026u);
  EXPECT_EQ(Bytes(record.begin(), record.begin() + 5), (Bytes{0x88, 0x03, 0x41, 0xFD, 0xFF}));
  EXPECT_EQ(Bytes(record.begin() + 5, record.end()), Bytes(entries, entries + 1024));
}

TEST(CommandRecord, TimebaseAndAllocatePaletteShareTheirRecord) {
  EXPECT_EQ(RecordOf([](VBinaryOut& w) { w.SetTimebase(0xFFFF); }),
            RecordOf([](VBinaryOut& w) { w.AllocatePalette(-1); }));
}

}  // namespace
