// The palette commands as the screen's palette shows them after ChangePalette.

#include <gtest/gtest.h>

#include "player_test_support.h"

namespace {

using namespace player_test;

// Palette 1 gets entry 0 = (200, 3, 10), palette 2 entry 0 = (100, 4, 255).
void PaletteSetup(VBinaryOut& out) {
  for (int id : {-1, 1, 2, 3}) out.AllocatePalette(id);
  const uint8_t first[] = {0, 200, 3, 10};
  const uint8_t second[] = {0, 100, 4, 255};
  out.SetPalette(1, first, 1);
  out.SetPalette(2, second, 1);
}

struct PaletteCase {
  const char* name;
  std::function<void(VBinaryOut&)> commands;
  Rgb entry0;  // entry 0 of the screen's palette at tick 10
};

const std::vector<PaletteCase> kCases = {
    {"ChangePaletteShowsAPalette", [](VBinaryOut& o) { o.ChangePalette(1); }, {200, 3, 10}},
    {"SetPaletteSetsIndexedEntries",
     [](VBinaryOut& o) {
       const uint8_t entries[] = {1, 9, 9, 9, 0, 7, 8, 9};
       o.SetPalette(3, entries, 2);
       o.ChangePalette(3);
     },
     {7, 8, 9}},
    {"CopyPalette",
     [](VBinaryOut& o) {
       o.CopyPalette(2, 3);
       o.ChangePalette(3);
     },
     {100, 4, 255}},
    {"BlendWeighsAndTruncates",
     [](VBinaryOut& o) {
       o.BlendPalette(1, 2, 3, 0, 8, 0, 0, 8, 0, 50, 50);
       o.ChangePalette(3);
     },
     {150, 3, 132}},
    {"BlendClampsAt255",
     [](VBinaryOut& o) {
       o.BlendPalette(1, 2, 3, 9, 9, 9, 9, 9, 9, 100, 100);
       o.ChangePalette(3);
     },
     {255, 7, 255}},
    {"BlendIntoOneOfItsSources",
     [](VBinaryOut& o) {
       o.BlendPalette(1, 2, 1, 0, 8, 0, 0, 8, 0, 0, 100);
       o.ChangePalette(1);
     },
     {100, 4, 255}},
    {"ChangePaletteTakesACopy",
     [](VBinaryOut& o) {
       o.ChangePalette(1);
       o.CopyPalette(2, 1);
     },
     {200, 3, 10}},
    {"UnknownPalettesDoNothing",
     [](VBinaryOut& o) {
       o.ChangePalette(1);
       o.CopyPalette(9, 1);
       o.CopyPalette(2, 9);
       o.BlendPalette(9, 2, 1, 0, 8, 0, 0, 8, 0, 0, 100);
       o.BlendPalette(1, 2, 9, 0, 8, 0, 0, 8, 0, 0, 100);
       o.ChangePalette(9);
       // The definition block's time base (48) is no palette either.
       o.ChangePalette(48);
     },
     {200, 3, 10}},
    {"AllocatePaletteMakesItBlackAgain",
     [](VBinaryOut& o) {
       o.AllocatePalette(1);
       o.ChangePalette(1);
     },
     {0, 0, 0}},
};

class PaletteRule : public testing::TestWithParam<PaletteCase> {};

TEST_P(PaletteRule, GivesTheScreenPalette) {
  const PaletteCase& rule = GetParam();
  Bytes vnl = WriteVnl(PaletteSetup, [&](VBinaryOut& out) {
    out.SetTick(10);
    rule.commands(out);
  });
  ShowPlayer player(vnl, std::make_unique<MapSource>());
  EXPECT_EQ(player.ScreenAt(10).palette[0], rule.entry0);
  EXPECT_EQ(player.ScreenAt(9).palette[0], Rgb{});  // before: all black
}

INSTANTIATE_TEST_SUITE_P(Player, PaletteRule, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
