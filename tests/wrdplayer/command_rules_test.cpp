// Each command's rule on a 640 x 480 page -1 that the screen shows from tick 0: a table of
// command sequences run at tick 10 and the screen indices they must leave.

#include <gtest/gtest.h>

#include "player_test_support.h"

namespace {

using namespace player_test;

struct Pixel {
  int x, y;
  int index;
};

using Command = std::function<void(VBinaryOut&)>;

struct RuleCase {
  const char* name;
  std::vector<Command> commands;
  std::vector<Pixel> expected;
};

Command Fill(int page, int mask, WrdRect rect, int colour) {
  return [=](VBinaryOut& o) { o.FillRect(page, mask, rect, colour); };
}

Command Move(int source, int target, int mask, WrdRect rect, WrdPoint to, bool modeOne = false) {
  return [=](VBinaryOut& o) {
    modeOne ? o.MoveMode1(source, target, mask, rect, to) : o.Move(source, target, mask, rect, to);
  };
}

// Picture "p" (4 x 3): pixel (x, y) = 1 + x + 4 y, except (1, 0) which is 0.
IndexedPicture SmallPicture() {
  return MakePicture(4, 3,
                     [](int x, int y) { return uint8_t(x == 1 && y == 0 ? 0 : 1 + x + 4 * y); });
}

void PageSetup(VBinaryOut& out) {
  VBinaryOut::PageDescriptor screen{-1, 640, 480, 0};
  out.AllocatePage(screen);
  out.AllocatePalette(-1);
  out.LoadPicture(1, 1, "p");
  out.DisplayPage(-1, {0, 0});
}

std::unique_ptr<ShowPlayer> Play(const std::vector<Command>& commands) {
  Bytes vnl = WriteVnl(PageSetup, [&](VBinaryOut& out) {
    out.SetTick(10);
    for (const Command& command : commands) command(out);
  });
  return std::make_unique<ShowPlayer>(
      vnl,
      std::make_unique<MapSource>(std::map<std::string, IndexedPicture>{{"p", SmallPicture()}}));
}

const std::vector<RuleCase> kCases = {
    {"FillClippedAtTopLeft",
     {Fill(-1, 255, {-5, -5, 2, 1}, 9)},
     {{0, 0, 9}, {2, 1, 9}, {3, 1, 0}, {2, 2, 0}}},
    {"FillClippedAtBottomRight",
     {Fill(-1, 255, {638, 478, 700, 600}, 5)},
     {{639, 479, 5}, {638, 478, 5}, {637, 479, 0}}},
    {"FillEmptyWhenCornersCross", {Fill(-1, 255, {3, 3, 2, 4}, 5)}, {{2, 3, 0}, {3, 3, 0}}},
    {"FillMasked",
     {Fill(-1, 255, {0, 0, 0, 0}, 0xF0), Fill(-1, 0x0F, {0, 0, 1, 0}, 0x3C)},
     {{0, 0, 0xFC}, {1, 0, 0x0C}}},
    {"MoveCopiesTheRectangle",
     {Move(1, -1, 255, {0, 0, 3, 2}, {10, 20})},
     {{10, 20, 1}, {11, 20, 0}, {13, 22, 12}, {14, 22, 0}, {10, 23, 0}}},
    {"MoveSourceClippedShiftsTheTarget",
     {Move(1, -1, 255, {-2, -1, 1, 1}, {10, 20})},
     {{12, 21, 1}, {13, 22, 6}, {11, 21, 0}, {14, 21, 0}, {12, 23, 0}}},
    {"MoveSourceClippedAtBottomRight",
     {Move(1, -1, 255, {2, 1, 9, 9}, {0, 0})},
     {{0, 0, 7}, {1, 1, 12}, {2, 0, 0}, {0, 2, 0}}},
    {"MoveTargetClipped",
     {Move(1, -1, 255, {0, 0, 3, 2}, {-1, -1})},
     {{0, 0, 6}, {2, 1, 12}, {3, 0, 0}}},
    {"MoveTargetClippedAtBottomRight",
     {Move(1, -1, 255, {0, 0, 3, 2}, {638, 479})},
     {{638, 479, 1}, {639, 479, 0}}},
    {"MoveModeOneKeepsTargetUnderZero",
     {Fill(-1, 255, {0, 0, 9, 9}, 9), Move(1, -1, 255, {0, 0, 3, 0}, {0, 0}, true)},
     {{0, 0, 1}, {1, 0, 9}, {2, 0, 3}}},
    {"MoveModeZeroCopiesZero",
     {Fill(-1, 255, {0, 0, 9, 9}, 9), Move(1, -1, 255, {0, 0, 3, 0}, {0, 0})},
     {{1, 0, 0}}},
    {"MoveMasked",
     {Fill(-1, 255, {0, 0, 9, 9}, 0xF0), Move(1, -1, 0x0F, {0, 0, 0, 0}, {0, 0})},
     {{0, 0, 0xF1}}},
    {"MoveWithinOnePageReadsFirst",
     {Fill(-1, 255, {0, 0, 0, 0}, 1), Fill(-1, 255, {1, 0, 1, 0}, 2),
      Fill(-1, 255, {2, 0, 2, 0}, 3), Move(-1, -1, 255, {0, 0, 2, 0}, {1, 0})},
     {{0, 0, 1}, {1, 0, 1}, {2, 0, 2}, {3, 0, 3}}},
    {"DrawingReadBeforeAWholePageFillIsKept",
     {Fill(1, 255, {0, 0, 0, 0}, 9), Move(1, -1, 255, {0, 0, 0, 0}, {0, 0}),
      Fill(1, 255, {0, 0, 3, 2}, 5), Move(1, -1, 255, {0, 0, 0, 0}, {1, 0}),
      Fill(-1, 255, {5, 5, 5, 5}, 4),
      Fill(-1, 0xF0, {0, 0, 639, 479}, 0)},  // masked: not a whole-page overwrite
     {{0, 0, 9}, {1, 0, 5}, {5, 5, 4}}},
    {"UnknownPagesDoNothing",
     {Fill(5, 255, {0, 0, 9, 9}, 4), Move(5, -1, 255, {0, 0, 9, 9}, {0, 0}),
      Move(1, 6, 255, {0, 0, 3, 2}, {0, 0}),
      [](VBinaryOut& o) {
        o.DrawText(7, 255, 1, 4, 0, {0, 0}, "A");
        o.DisplayPage(8, {0, 0});
      },
      Fill(-1, 255, {0, 0, 0, 0}, 2)},
     {{0, 0, 2}, {1, 1, 0}}},
    {"DisplayPageOffsetShowsPagePixels",
     {[](VBinaryOut& o) { o.DisplayPage(1, {1, 1}); }},
     {{0, 0, 6}, {2, 1, 12}}},
};

class CommandRule : public testing::TestWithParam<RuleCase> {};

TEST_P(CommandRule, LeavesTheScreenIndices) {
  const RuleCase& rule = GetParam();
  std::unique_ptr<ShowPlayer> player = Play(rule.commands);
  const Screen& screen = player->ScreenAt(10);
  for (const Pixel& p : rule.expected) {
    EXPECT_EQ(screen.indices[size_t(p.y) * 640 + size_t(p.x)], p.index) << p.x << ", " << p.y;
  }
}

INSTANTIATE_TEST_SUITE_P(Player, CommandRule, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Text: the expected page drawn from the font file's own lines.
struct TextCase {
  const char* name;
  WrdPoint at;
  uint8_t mask;
  std::string text;
  std::vector<std::pair<int, uint32_t>> glyphs;  // x offset from `at`, code point
};

const std::vector<TextCase> kTextCases = {
    {"OneCharacter", {5, 6}, 255, "A", {{0, 0x41}}},
    // \x41 is "A", written as an escape so that it ends the one before.
    {"DoubleByteAdvancesSixteen", {0, 0}, 255, "\x82\xA0\x41", {{0, 0x3042}, {16, 0x41}}},
    {"ControlBytesDrawNothingButAdvance", {0, 0}, 255, "\x01\x7F\x41", {{16, 0x41}}},
    {"UndecodablePairAdvancesSixteen", {0, 0}, 255, "\x81\x20\x41", {{16, 0x41}}},
    {"LeadByteAtTheEndIsOneByte", {0, 0}, 255, "A\x82", {{0, 0x41}}},
    {"HalfWidthKatakana", {0, 0}, 255, "\xB1", {{0, 0xFF71}}},
    {"ClippedAtTheTopLeft", {-4, -3}, 255, "AB", {{0, 0x41}, {8, 0x42}}},
    {"ClippedAtTheBottomRight", {636, 470}, 255, "W", {{0, 0x57}}},
    {"Masked", {0, 0}, 0x0F, "A", {{0, 0x41}}},
};

class TextRule : public testing::TestWithParam<TextCase> {};

TEST_P(TextRule, DrawsTheFontGlyphs) {
  const TextCase& text = GetParam();
  std::unique_ptr<ShowPlayer> player =
      Play({Fill(-1, 255, {0, 0, 639, 479}, 0xF0), [&](VBinaryOut& o) {
              o.DrawText(-1, text.mask, 1, 0x37, 0, text.at, text.text.c_str());
            }});
  std::vector<uint8_t> expected(640 * 480, 0xF0);
  const uint8_t ink = uint8_t((0xF0 & ~text.mask) | (0x37 & text.mask));
  for (const auto& [offset, codePoint] : text.glyphs) {
    ASSERT_FALSE(GlyphRows(codePoint).empty()) << "no glyph " << codePoint << " in the font";
    PutGlyph(expected, 640, 480, text.at.x + offset, text.at.y, codePoint, ink);
  }
  EXPECT_EQ(player->ScreenAt(10).indices, expected);
}

INSTANTIATE_TEST_SUITE_P(Player, TextRule, testing::ValuesIn(kTextCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
