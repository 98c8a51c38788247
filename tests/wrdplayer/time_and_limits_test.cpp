// The time rule, pictures that cannot be loaded, the memory budget and malformed files.

#include <gtest/gtest.h>

#include <random>

#include "player_test_support.h"

namespace {

using namespace player_test;

void ScreenPage(VBinaryOut& out) {
  VBinaryOut::PageDescriptor screen{-1, 640, 480, 0};
  out.AllocatePage(screen);
  out.DisplayPage(-1, {0, 0});
}

uint8_t IndexAt(ShowPlayer& player, int64_t tick) { return player.ScreenAt(tick).indices[0]; }

TEST(PlayerTime, TheScreenAtATickHasEveryRecordAtOrBeforeIt) {
  ShowPlayer player(WriteVnl(ScreenPage,
                             [](VBinaryOut& out) {
                               out.SetTick(20);
                               out.FillRect(-1, 255, {0, 0, 0, 0}, 2);
                               out.SetTick(10);
                               out.FillRect(-1, 255, {0, 0, 0, 0}, 1);
                             }),
                    std::make_unique<MapSource>());
  for (const auto& [tick, index] : {std::pair{9, 0}, {10, 1}, {19, 1}, {20, 2}, {10, 1}}) {
    EXPECT_EQ(IndexAt(player, tick), index) << tick;  // the last one back again
  }
  EXPECT_EQ(player.LastTick(), 20);
  EXPECT_EQ(player.ScreenAt(-1).shown, Screen::Area{});  // before tick 0 nothing shows
}

TEST(PlayerTime, BatchesEndingWithStartRunAtTickZero) {
  std::ostringstream stream;
  {
    VBinaryOut out(stream);
    out.EndBlock();
    ScreenPage(out);
    out.SetTick(500);
    out.FillRect(-1, 255, {0, 0, 0, 0}, 7);  // in a batch that ends with Start at tick 600
    out.SetTick(600);
    out.Start();
    out.SetTick(30);
    out.FillRect(-1, 255, {0, 0, 0, 0}, 8);
  }
  const std::string text = stream.str();
  ShowPlayer player(Bytes(text.begin(), text.end()), std::make_unique<MapSource>());
  EXPECT_EQ(IndexAt(player, 0), 7);
  EXPECT_EQ(IndexAt(player, 30), 8);
}

TEST(PlayerTime, AnyOrderOfSeeksGivesTheScreensOfAPlayerWithoutSnapshots) {
  // Many full-screen draws, so that the player keeps several snapshots.
  Bytes vnl = WriteVnl(ScreenPage, [](VBinaryOut& out) {
    for (int i = 1; i <= 200; ++i) {
      out.SetTick(uint32_t(i * 10));
      out.FillRect(-1, 255, {0, 0, 639, 479}, uint8_t(i));
      out.FillRect(-1, 255, {int16_t(i), 0, int16_t(i), 0}, uint8_t(i + 1));
    }
  });
  ShowPlayer seeking(vnl, std::make_unique<MapSource>());
  std::mt19937 random(7);
  for (int n = 0; n < 40; ++n) {
    const int64_t tick = std::uniform_int_distribution<int64_t>(0, 2100)(random);
    ShowPlayer::Options oneScreen;
    oneScreen.keepSnapshots = false;
    ShowPlayer fresh(vnl, std::make_unique<MapSource>(), oneScreen);
    const std::vector<uint8_t>& indices = seeking.ScreenAt(tick).indices;
    ASSERT_EQ(indices, fresh.ScreenAt(tick).indices) << tick;
    const int last = int(std::min<int64_t>(tick / 10, 200));
    if (last == 0) continue;
    EXPECT_EQ(indices[640], last) << tick;
    EXPECT_EQ(indices[size_t(last)], last + 1) << tick;
    EXPECT_EQ(indices[size_t(last) - 1], last == 1 ? 1 : last) << tick;
  }
}

TEST(PlayerPictures, AMissingPictureGivesAnEmptyPageAndABlackPalette) {
  Bytes vnl = WriteVnl(
      [](VBinaryOut& out) {
        ScreenPage(out);
        out.AllocatePalette(1);
        const uint8_t red[] = {0, 255, 0, 0};
        out.SetPalette(1, red, 1);
        out.LoadPicture(1, 1, "missing.png");
      },
      [](VBinaryOut& out) {
        out.SetTick(10);
        out.ChangePalette(1);
        out.DisplayPage(1, {0, 0});  // exists, but 0 x 0
      });
  ShowPlayer player(vnl, std::make_unique<MapSource>());
  EXPECT_EQ(player.ScreenAt(10).palette[0], Rgb{});
  EXPECT_EQ(player.ScreenAt(10).shown, Screen::Area{});
}

TEST(PlayerPictures, PalettePastThePictureEntriesIsBlack) {
  IndexedPicture picture = MakePicture(2, 2, [](int x, int) { return uint8_t(x); });
  picture.palette[200] = Rgb{};
  Bytes vnl = WriteVnl([](VBinaryOut& out) { out.LoadPicture(0, 0, "a"); },
                       [](VBinaryOut& out) {
                         out.SetTick(1);
                         out.DisplayPage(0, {0, 0});
                         out.ChangePalette(0);
                       });
  ShowPlayer player(
      vnl, std::make_unique<MapSource>(std::map<std::string, IndexedPicture>{{"a", picture}}));
  const Screen& screen = player.ScreenAt(1);
  EXPECT_EQ(screen.shown, (Screen::Area{0, 0, 2, 2}));
  EXPECT_EQ(screen.PixelAt(1, 1), (Rgb{1, 254, 2}));
  EXPECT_EQ(screen.PixelAt(2, 0), Rgb{});  // outside the page: black whatever index 0 is
}

TEST(PlayerBudget, PagesAndPalettesBeyondTheBudgetAreRefused) {
  ShowPlayer::Options options;
  options.memoryBudget = 640 * 480 + 2 * 768;
  Bytes vnl = WriteVnl(
      [](VBinaryOut& out) {
        ScreenPage(out);
        VBinaryOut::PageDescriptor big{2, 100, 100, 0};
        out.AllocatePage(big);  // over the budget: 0 x 0
        out.AllocatePalette(1);
        out.AllocatePalette(2);
        out.AllocatePalette(3);  // over the budget: black
        const uint8_t white[] = {0, 255, 255, 255};
        out.SetPalette(3, white, 1);
        out.SetPalette(1, white, 1);
      },
      [](VBinaryOut& out) {
        out.SetTick(1);
        out.FillRect(2, 255, {0, 0, 99, 99}, 5);
        out.Move(2, -1, 255, {0, 0, 99, 99}, {0, 0});
        out.ChangePalette(3);
        out.SetTick(2);
        out.ChangePalette(1);
      });
  ShowPlayer player(vnl, std::make_unique<MapSource>(), options);
  EXPECT_EQ(IndexAt(player, 1), 0);
  EXPECT_EQ(player.ScreenAt(1).palette[0], Rgb{});
  EXPECT_EQ(player.ScreenAt(2).palette[0], (Rgb{255, 255, 255}));
}

struct BadFile {
  const char* name;
  Bytes bytes;
  size_t offset;
};

Bytes WithRecord(uint8_t opcode, Bytes payload) {
  return WriteVnl(
      [](VBinaryOut&) {},
      [&](VBinaryOut& out) { out.RawCommand(opcode, payload.data(), int(payload.size())); });
}

// The Data block starts at 28 (after the header, "05 71 test", "03 21 30 00" and "01 00");
// "00 01 01" is Start, so the first timed record starts at 31.
const std::vector<BadFile> kBadFiles = {
    {"Empty", {}, 0},
    {"CutInsideTheHeader", Bytes{'V', 'a', 'r'}, 3},
    {"FillWithAShortPayload", WithRecord(0x52, {0xFF, 0xFF, 0xFF}), 31},
    {"MoveWithALongPayload", WithRecord(0x61, Bytes(19, 0)), 31},
    {"SetPaletteWithAPartEntry", WithRecord(0x41, {0xFF, 0xFF, 1, 2}), 31},
    {"CutInTheDataBlock",
     [] {
       Bytes b = WithRecord(0x31, {0xFF, 0xFF});
       b.resize(b.size() - 4);
       return b;
     }(),
     32},
};

class MalformedVnl : public testing::TestWithParam<BadFile> {};

TEST_P(MalformedVnl, ThrowsNamingTheOffset) {
  try {
    ShowPlayer player(GetParam().bytes, std::make_unique<MapSource>());
    FAIL() << "no error";
  } catch (const VnlError& e) {
    EXPECT_EQ(e.Offset(), GetParam().offset) << e.what();
  }
}

INSTANTIATE_TEST_SUITE_P(Player, MalformedVnl, testing::ValuesIn(kBadFiles),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MalformedVnl, OpcodesWithoutAMeaningAreSkipped) {
  Bytes vnl = WriteVnl(ScreenPage, [](VBinaryOut& out) {
    out.SetTick(1);
    out.Command36(1, {0, 0}, {0, 0}, {0, 0});
    out.FillRect(-1, 255, {0, 0, 0, 0}, 3);
  });
  ShowPlayer player(vnl, std::make_unique<MapSource>());
  EXPECT_EQ(IndexAt(player, 1), 3);
}

}  // namespace
