// The build in memory: the same bytes as Make, pictures read once.

#include <gtest/gtest.h>

#include "make/build_case.h"
#include "make/build_show.h"

namespace {

using namespace build_test;

std::vector<uint8_t> MadeVnl(BuildCase& build) {
  build.Make();
  const std::string bytes = ReadFile(build.Folder().Path() / "song.vnl");
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

// Pictures centred, tiled, without a free index, refused and missing; fades; lyrics.
void FillTable(BuildCase& build) {
  build.Picture("a.bmp", 320, 200, 3);
  build.Picture("b.bmp", 64, 48, 0);
  test_bmp::WriteFile(build.Folder().Path() / "full.bmp",
                      test_bmp::Bmp8(16, 16, [](int x, int y) { return x + 16 * y; }));
  test_bmp::WriteFile(build.Folder().Path() / "deep.bmp", test_bmp::Bmp24(8, 8));
  build.Add("one", 0, "a.bmp").Lyrics = "ab\r\ncd";
  EventItem& two = build.Add("two", 16, "B.BMP");
  two.Naraberu = 1;
  two.Effect = 1;
  build.Add("three", 40, "full.bmp").Color = 0x00FF8000;
  build.Add("four", 56, "deep.bmp").Effect = 2;
  build.Add("five", 60, "gone.bmp").Lyrics = "\x82\xA0";
  build.Add("six", 70).Align = 2;
}

TEST(BuildShowTest, GivesTheBytesMakeWrites) {
  BuildCase build;
  FillTable(build);
  PictureCache cache;
  const ShowBuild shown = BuildShow(build.Table(), cache);
  EXPECT_EQ(shown.Vnl, MadeVnl(build));
  ASSERT_EQ(shown.Pictures.size(), 5u);
  EXPECT_EQ(shown.Pictures[0]->Width, 320);
  EXPECT_EQ(shown.Pictures[0]->Pixels.size(), 320u * 200u);
  EXPECT_EQ(shown.Pictures[2]->Pixels[17], 17);  // column 1 of row 1, top row first
  EXPECT_FALSE(shown.Pictures[3]->Usable);
  EXPECT_FALSE(shown.Pictures[3]->Reason.empty());
  EXPECT_FALSE(shown.Pictures[4]->Usable);
}

TEST(BuildShowTest, AnEmptyTableGivesMakesBytes) {
  BuildCase build;
  PictureCache cache;
  EXPECT_EQ(BuildShow(build.Table(), cache).Vnl, MadeVnl(build));
}

TEST(BuildShowTest, ACachedPictureIsReadOnceUntilItsFileChanges) {
  BuildCase build;
  FillTable(build);
  PictureCache cache;
  BuildShow(build.Table(), cache);
  EXPECT_EQ(cache.Reads(), 5);
  build.Table().events[5].Lyrics = "edited";
  BuildShow(build.Table(), cache);
  EXPECT_EQ(cache.Reads(), 5);

  build.Picture("a.bmp", 32, 20, 3);
  SetFileAge(build.Folder().Path() / "a.bmp", 10);
  const ShowBuild after = BuildShow(build.Table(), cache);
  EXPECT_EQ(cache.Reads(), 6);
  EXPECT_EQ(after.Pictures[0]->Width, 32);
  EXPECT_EQ(after.Vnl, MadeVnl(build));
}

// The pictures of a build are counted against the player's memory in the order it loads them:
// one that does not fit is refused before its pixels are read, and is read when it fits again.
TEST(BuildShowTest, APictureBeyondTheMemoryBudgetIsRefusedUntilItFits) {
  BuildCase build;
  build.Picture("a.bmp", 100, 100);
  build.Picture("b.bmp", 100, 100);
  build.Picture("c.bmp", 10, 10);
  build.Add("one", 0, "a.bmp");
  build.Add("two", 16, "b.bmp");
  build.Add("three", 32, "c.bmp");
  // The set-up, three palettes, and room for the first picture and the last.
  const uint64_t budget = 640 * 480 + 7 * 768 + 100 * 100 + 10 * 10;
  PictureCache cache;
  ShowBuild shown = BuildShow(build.Table(), cache, budget);
  EXPECT_TRUE(shown.Pictures[0]->Usable);
  EXPECT_FALSE(shown.Pictures[1]->Usable);
  EXPECT_TRUE(shown.Pictures[1]->TooLarge);
  EXPECT_TRUE(shown.Pictures[1]->Pixels.empty());
  EXPECT_EQ(shown.Pictures[1]->Reason,
            build.Folder() / "b.bmp" +
                ": 画像が大きすぎます (100 x 100、ほかの画像と合わせて表示に使えるメモリ " +
                std::to_string(budget) + " バイト を超えます)");
  EXPECT_TRUE(shown.Pictures[2]->Usable);
  // The first picture goes: the second fits and is read.
  build.Table().events[0].Picture = "";
  shown = BuildShow(build.Table(), cache, budget);
  ASSERT_EQ(shown.Pictures.size(), 2u);
  EXPECT_TRUE(shown.Pictures[0]->Usable);
  EXPECT_EQ(shown.Pictures[0]->Pixels.size(), 100u * 100u);
}

}  // namespace
