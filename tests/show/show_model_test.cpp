// The document built in memory and played: when it builds again and what it says is refused.

#include "showmodel/show_model.h"

#include <gtest/gtest.h>

#include "make/build_case.h"

namespace {

using namespace build_test;

TEST(ShowModelTest, BuildsOnlyWhenTheDocumentChangesWhatTheBuildReads) {
  BuildCase build;
  build.Picture("a.bmp", 8, 8, 5);
  build.Add("one", 0, "a.bmp");
  ShowModel model;
  EXPECT_EQ(model.ScreenAt(0).palette[5], Rgb{});  // black before anything is built
  EXPECT_TRUE(model.Update(build.Table()));
  EXPECT_FALSE(model.Update(build.Table()));
  build.Table().events[1].Lyrics = "a slot beyond the live events";
  EXPECT_FALSE(model.Update(build.Table()));
  build.Table().events[0].Mark = "renamed";
  EXPECT_TRUE(model.Update(build.Table()));
  EXPECT_EQ(model.Builds(), 2);
  EXPECT_EQ(model.ScreenAt(0).palette[5], (Rgb{5, 5, 5}));
}

TEST(ShowModelTest, ARefusedPictureIsNamedWhileItsEventIsTheLatestWithAPicture) {
  BuildCase build;
  build.Picture("a.bmp", 8, 8, 5);
  test_bmp::WriteFile(build.Folder().Path() / "deep.bmp", test_bmp::Bmp24(4, 4));
  build.Add("good", 0, "a.bmp");
  build.Add("refused", 16, "deep.bmp");
  build.Add("no picture", 32);
  build.Add("good again", 48, "A.BMP");
  build.Add("out of range", -1, "deep.bmp");  // placed at tick 0, after "good"
  ShowModel model;
  model.Update(build.Table());
  struct {
    int64_t tick;
    bool refused;
  } cases[] = {{0, true}, {191, true}, {192, true}, {400, true}, {576, false}, {9999, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.tick);
    const std::string refusal = model.RefusalAt(c.tick);
    EXPECT_EQ(!refusal.empty(), c.refused);
    if (c.refused) {
      // The two lines Make logs for the picture.
      EXPECT_EQ(refusal,
                "エラー: ファイルが読めない、もしくは256色以外のBMPファイルである\n原因: " +
                    build.Folder() / "deep.bmp" +
                    ": 24ビットの画像です (256色の8ビットのみ扱えます)");
    }
  }
  EXPECT_EQ(EventTick(build.Table().events[4]), 0);
  EXPECT_EQ(EventTick(build.Table().events[1]), 192);
}

// A picture whose pixels alone would take the player's whole memory is refused, without reading
// them, and the band says why; the pictures before it are shown.
TEST(ShowModelTest, APictureBeyondThePlayersMemoryIsShownRefused) {
  BuildCase build;
  build.Picture("a.bmp", 8, 8, 5);
  // The headers of a 16384 x 16384 picture, and none of its pixels.
  std::string huge = test_bmp::Bmp8(1, 1, [](int, int) { return uint8_t{0}; });
  for (int field : {18, 22}) {
    huge[field] = 0;
    huge[field + 1] = 0x40;
  }
  test_bmp::WriteFile(build.Folder().Path() / "huge.bmp", huge);
  build.Add("small", 0, "a.bmp");
  build.Add("huge", 4, "huge.bmp");  // tick 48
  ShowModel model;
  model.Update(build.Table());
  EXPECT_EQ(model.RefusalAt(0), "");
  EXPECT_EQ(model.ScreenAt(0).palette[5], (Rgb{5, 5, 5}));
  const std::string reason = "原因: " + build.Folder() / "huge.bmp" +
                             ": 画像が大きすぎます (16384 x 16384、ほかの画像と合わせて表示に使える"
                             "メモリ 256 MiB を超えます)";
  EXPECT_TRUE(model.RefusalAt(48).ends_with("\n" + reason)) << model.RefusalAt(48);
  ASSERT_EQ(model.Refusals().size(), 1u);
  EXPECT_EQ(model.Refusals()[0], model.RefusalAt(48));
}

}  // namespace
