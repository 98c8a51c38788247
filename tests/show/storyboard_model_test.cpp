// The storyboard: each tile is the screen the show settles on after its event, at a quarter of
// its size, and an edit recomputes only tiles whose screen it reached.

#include "showmodel/storyboard_model.h"

#include <gtest/gtest.h>

#include "make/build_case.h"

namespace {

using namespace build_test;

// The tile by its definition: each pixel the rounded mean of a 4 x 4 block of the screen.
ScreenTile MeanOfBlocks(const Screen& screen) {
  ScreenTile tile;
  for (int ty = 0; ty < ScreenTile::kHeight; ++ty) {
    for (int tx = 0; tx < ScreenTile::kWidth; ++tx) {
      int sum[3] = {0, 0, 0};
      for (int y = ty * 4; y < ty * 4 + 4; ++y) {
        for (int x = tx * 4; x < tx * 4 + 4; ++x) {
          const Rgb colour = screen.PixelAt(x, y);
          sum[0] += colour.r, sum[1] += colour.g, sum[2] += colour.b;
        }
      }
      for (int c = 0; c < 3; ++c)
        tile.rgb[size_t((ty * ScreenTile::kWidth + tx) * 3 + c)] = uint8_t((sum[c] + 8) / 16);
    }
  }
  return tile;
}

class StoryboardTest : public testing::Test {
 protected:
  StoryboardTest() {
    // A striped picture, so that the blocks' means are no single colour.
    test_bmp::WriteFile(
        build_.Folder().Path() / "stripes.bmp",
        test_bmp::Bmp8(64, 48, [](int x, int y) { return uint8_t(x * 3 + y % 5 * 40); }));
    build_.Picture("grey.bmp", 640, 480, 90);
  }
  BuildCase build_;
};

TEST_F(StoryboardTest, ATileIsTheScreenAtItsSettledTickAtAQuarterOfItsSize) {
  build_.Add("fades in", 16, "stripes.bmp").Effect = kEffectFadeWhite;
  build_.Add("first", 0, "grey.bmp").Lyrics = "A B C\r\n";
  EventItem& last = build_.Add("no picture", 32);
  last.Lyrics = "xyz\r\n";
  last.X1 = 3, last.Y1 = 101, last.X2 = 600, last.Y2 = 300, last.Color = 0x00336699;
  StoryboardModel storyboard;
  storyboard.Update(build_.Table());
  ShowModel show;
  show.Update(build_.Table());
  // In time order; a fade-in settles 144 ticks after its event.
  const struct {
    int event;
    int64_t tick, settled;
  } expected[] = {{1, 0, 0}, {0, 192, 336}, {2, 384, 384}};
  ASSERT_EQ(storyboard.Count(), 3);
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    const StoryboardModel::Entry& entry = storyboard.At(i);
    EXPECT_EQ(entry.event, expected[i].event);
    EXPECT_EQ(entry.tick, expected[i].tick);
    EXPECT_EQ(entry.settledTick, expected[i].settled);
    EXPECT_EQ(*storyboard.Tile(i), MeanOfBlocks(show.ScreenAt(expected[i].settled)));
  }
  EXPECT_NE(*storyboard.Tile(1), MeanOfBlocks(show.ScreenAt(335)));
}

TEST_F(StoryboardTest, AnEditRecomputesOnlyTheTilesItReachesAndKeepsUnchangedOnes) {
  for (int i = 0; i < 3; ++i) build_.Add("e" + std::to_string(i), 16 * i, "grey.bmp");
  StoryboardModel storyboard;
  storyboard.Update(build_.Table());
  std::shared_ptr<const ScreenTile> before[3];
  for (int i = 0; i < 3; ++i) before[i] = storyboard.Tile(i);
  EXPECT_FALSE(storyboard.Update(build_.Table()));

  build_.Table().events[1].Lyrics = "new words\r\n";
  ASSERT_TRUE(storyboard.Update(build_.Table()));
  EXPECT_FALSE(storyboard.IsStale(0));
  EXPECT_TRUE(storyboard.IsStale(1));
  EXPECT_TRUE(storyboard.IsStale(2));
  EXPECT_EQ(storyboard.Tile(0), before[0]);
  EXPECT_NE(*storyboard.Tile(1), *before[1]);
  EXPECT_EQ(storyboard.Tile(2), before[2]);  // the next picture covers the words again

  build_.Table().events[2].Mark = "renamed";  // the stream does not change
  ASSERT_TRUE(storyboard.Update(build_.Table()));
  EXPECT_FALSE(storyboard.IsStale(2));
  EXPECT_EQ(storyboard.At(2).mark, "renamed");
}

TEST_F(StoryboardTest, TimesFollowTheSongsMeterAndCornersTheWorstProblem) {
  for (int count : {0, 16, 40}) build_.Add("e", count);
  StoryboardModel storyboard;
  storyboard.Update(build_.Table());
  storyboard.SetSong(Meter(480, {{0, 3, 4}}), 480);
  storyboard.SetProblems({{"a", 2, Problem::Severity::kWarning, ""},
                          {"b", 3, Problem::Severity::kWarning, ""},
                          {"c", 3, Problem::Severity::kError, ""},
                          {"d", 0, Problem::Severity::kError, ""}});
  using Corner = StoryboardModel::Corner;
  const struct {
    const char* time;
    Corner corner;
  } expected[] = {{"1:1", Corner::kNone}, {"2:2", Corner::kWarning}, {"4:2", Corner::kError}};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(storyboard.At(i).time, expected[i].time) << i;
    EXPECT_EQ(storyboard.At(i).corner, expected[i].corner) << i;
  }
}

}  // namespace
