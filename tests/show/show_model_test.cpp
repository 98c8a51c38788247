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
      EXPECT_NE(refusal.find("deep.bmp: not a 256-colour BMP (24"), std::string::npos);
    }
  }
  EXPECT_EQ(EventTick(build.Table().events[4]), 0);
  EXPECT_EQ(EventTick(build.Table().events[1]), 192);
}

}  // namespace
