// A player made from the previous one after an edit shows exactly what a new player shows.

#include <gtest/gtest.h>

#include <random>

#include "make/build_case.h"
#include "make/build_show.h"
#include "showmodel/build_picture_source.h"
#include "wrdplayer/player_test_support.h"
#include "wrdplayer/show_player.h"

namespace {

using namespace build_test;

constexpr int kEvents = EventTable::kCapacity;
constexpr int kPictures = 6;

std::unique_ptr<ShowPlayer> Play(const ShowBuild& build, const ShowPlayer* previous) {
  auto source = std::make_unique<BuildPictureSource>(build.Pictures);
  if (previous == nullptr) return std::make_unique<ShowPlayer>(build.Vnl, std::move(source));
  return std::make_unique<ShowPlayer>(build.Vnl, std::move(source), *previous);
}

TEST(PlayerUpdateTest, RandomEditsShowWhatANewPlayerShows) {
  BuildCase build;
  for (int p = 0; p < kPictures; ++p) {
    // Sizes around the screen's, so that pictures are centred, cut or tiled.
    const int width = 160 + 120 * p, height = 96 + 80 * p;
    test_bmp::WriteFile(build.Folder().Path() / ("p" + std::to_string(p) + ".bmp"),
                        test_bmp::Bmp8(width, height, [p](int x, int y) {
                          return static_cast<uint8_t>((x * (p + 1) + y) % (250 - p));
                        }));
  }
  std::mt19937 random(20261208);
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  for (int e = 0; e < kEvents; ++e) {
    EventItem& item = build.Add("e" + std::to_string(e), 16 * (e + 1),
                                e % 5 == 4 ? "" : "p" + std::to_string(pick(kPictures)) + ".bmp");
    item.Effect = pick(3);
    item.Naraberu = pick(6) == 0 ? 1 : 0;
    item.Lyrics = "line " + std::to_string(e) + "\r\nsecond";
    item.X1 = 20;
    item.Y1 = 400;
    item.X2 = 620;
  }
  PictureCache cache;
  std::unique_ptr<ShowPlayer> player = Play(BuildShow(build.Table(), cache), nullptr);
  const int64_t last = player->LastTick();
  for (int edit = 0; edit < 8; ++edit) {
    // The old player has been seen at the end and somewhere before it.
    player->ScreenAt(last);
    player->ScreenAt(pick(static_cast<int>(last)));
    const int e = pick(kEvents);
    EventItem& item = build.Table().events[e];
    switch (edit % 4) {
      case 0:
        item.Lyrics = "edited " + std::to_string(edit);
        break;
      case 1:
        item.Count = pick(16 * kEvents);  // moved in time
        break;
      case 2:
        item.Effect = (item.Effect + 1) % 3;
        item.Color = 0x00FF8040u;
        break;
      default:
        item.Picture = "p" + std::to_string(pick(kPictures)) + ".bmp";
        item.Naraberu ^= 1;
        break;
    }
    const ShowBuild rebuilt = BuildShow(build.Table(), cache);
    std::unique_ptr<ShowPlayer> updated = Play(rebuilt, player.get());
    std::unique_ptr<ShowPlayer> fresh = Play(rebuilt, nullptr);
    const int64_t at = int64_t{item.Count} * 12;
    std::vector<int64_t> ticks = {0, at - 193, at - 1, at, at + 100, at + 150, last, last + 1};
    for (int i = 0; i < 12; ++i) ticks.push_back(pick(static_cast<int>(last) + 1));
    for (int64_t tick : ticks) {
      const Screen &got = updated->ScreenAt(tick), &want = fresh->ScreenAt(tick);
      EXPECT_TRUE(got.indices == want.indices && got.palette == want.palette) << tick;
      EXPECT_EQ(got.shown, want.shown) << tick;
    }
    player = std::move(updated);
  }
}

// A source that keeps one picture and gives it to every player.
class OneShared : public PictureSource {
 public:
  explicit OneShared(std::shared_ptr<const IndexedPicture> picture)
      : picture_(std::move(picture)) {}
  std::optional<IndexedPicture> Load(int, const std::string&) override { return *picture_; }
  std::shared_ptr<const IndexedPicture> LoadShared(int, const std::string&) override {
    return picture_;
  }

 private:
  std::shared_ptr<const IndexedPicture> picture_;
};

TEST(PlayerUpdateTest, DrawingOnASharedPictureLeavesThePictureAlone) {
  const IndexedPicture original =
      player_test::MakePicture(4, 2, [](int x, int) { return uint8_t(0x10 * x + 1); });
  auto picture = std::make_shared<const IndexedPicture>(original);
  const player_test::Bytes vnl = player_test::WriteVnl(
      [](VBinaryOut& out) {
        out.LoadPicture(0, 0, "p");
        out.DisplayPage(0, {0, 0});
      },
      [](VBinaryOut& out) {
        out.SetTick(10);
        out.FillRect(0, 0x0F, {1, 0, 2, 1}, 0x3C);
      });
  ShowPlayer first(vnl, std::make_unique<OneShared>(picture));
  EXPECT_EQ(first.ScreenAt(10).indices[1], 0x1C);
  EXPECT_EQ(first.ScreenAt(10).indices[2], 0x2C);
  ShowPlayer second(vnl, std::make_unique<OneShared>(picture));
  EXPECT_EQ(second.ScreenAt(0).indices[1], 0x11);
  EXPECT_EQ(first.ScreenAt(0).indices[1], 0x11);
  EXPECT_TRUE(picture->pixels == original.pixels);
}

}  // namespace
