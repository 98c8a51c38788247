// The picture collection: which pictures are loaded, their free colour, PNG conversion.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <map>

#include "text/cp932.h"

#include "make/build_case.h"
#include "make/free_colour.h"
#include "make/picture_table.h"
#include "picture/bitmap_file.h"

namespace {

using namespace build_test;
using Lines = std::vector<std::string>;

TEST(CollectionTest, OneFileNamedTwoWaysIsOnePicture) {
  BuildCase build;
  build.Picture("a.bmp", 8, 8);
  build.Add("1", 0, "a.bmp");
  build.Add("2", 1, build.Table().MidiFolder + "a.bmp");
  build.Add("3", 2, "A.BMP");  // the same name without regard to case
  build.Make();
  EXPECT_EQ(build.CountLogged(kReading), 1);
  EXPECT_EQ(build.Records("27").size(), 0u);  // LoadPicture is before Start
  const Lines lines = build.ScriptLines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "LoadPicture(1,1,\"a.png\");"), 1);
  EXPECT_EQ(build.Records("61").size(), 3u);
}

TEST(CollectionTest, PicturesInSubfoldersLieBelowTheMidiFolder) {
  BuildCase build;
  fs::create_directory(build.Folder().Path() / "sub");
  build.Picture("sub/a.bmp", 8, 8);
  build.Add("1", 0, "sub/a.bmp");
  build.Make();
  EXPECT_TRUE(build.Logged(kReading + build.Folder() / "sub/a.bmp"));
  EXPECT_EQ(build.Result().ErrorLines, 0);
  // The PNG goes beside the VNL file that names it.
  EXPECT_TRUE(fs::exists(build.Folder().Path() / "a.png"));
  EXPECT_FALSE(fs::exists(build.Folder().Path() / "sub/a.png"));
  EXPECT_FALSE(fs::exists(fs::current_path() / "a.png"));
}

TEST(CollectionTest, SameFileNameInTwoFoldersIsTwoPicturesDrawnAsTheFirst) {
  BuildCase build;
  fs::create_directory(build.Folder().Path() / "other");
  build.Picture("a.bmp", 8, 8);
  build.Picture("other/a.bmp", 16, 16);
  build.Add("1", 0, "a.bmp");
  build.Add("2", 1, "other/a.bmp");
  build.Make();
  const Lines lines = build.ScriptLines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "LoadPicture(1,1,\"a.png\");"), 1);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "LoadPicture(2,2,\"a.png\");"), 1);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "Move(0, 0, 7, 7, 316, 236, 1, 0);"), 2);
}

// The free index is found three ways: in a loaded picture, by the Make that converts it, and by
// the Make that finds its PNG up to date and only scans its rows.
TEST(CollectionTest, TheFreeIndexIsTheHighestUnusedOne) {
  struct Case {
    const char* name;
    int width;
    int height;
    std::function<uint8_t(int, int)> pixel;
    int freeIndex;
  };
  const std::vector<Case> cases = {
      {"0 to 254", 16, 16, [](int x, int y) { return uint8_t((y * 16 + x) % 255); }, 255},
      {"all but 3 and 7", 16, 16,
       [](int x, int y) {
         const int v = y * 16 + x;
         return uint8_t(v == 3 || v == 7 ? 0 : v);
       },
       7},
      {"all", 16, 16, [](int x, int y) { return uint8_t(y * 16 + x); }, -1},
      // Width 3: one padding byte per row, written as 0xEE by the test writer.
      {"row padding is no pixel", 3, 2, [](int, int) { return uint8_t(1); }, 255},
      // Several blocks of rows; 253 and 254 only in the first and the last row.
      {"all but 255 over many rows", 300, 300,
       [](int x, int y) {
         return uint8_t(y == 0 && x == 0 ? 254 : y == 299 ? 253 : (x + y) % 253);
       },
       255},
      // 255 first turns up after the rows looked at pixel by pixel: the picture is looked at
      // again, whole.
      {"255 late, 100 free", 300, 300,
       [](int x, int y) {
         return uint8_t(x == 7 && (y == 0 || y == 299) ? 255
                        : (x + y) % 255 == 100         ? 101
                                                       : (x + y) % 255);
       },
       100},
  };
  for (const Case& c : cases) {
    const std::string bytes = test_bmp::Bmp8(c.width, c.height, c.pixel);
    BitmapFile image;
    ASSERT_TRUE(image.LoadFromMemory(std::vector<uint8_t>(bytes.begin(), bytes.end())));
    EXPECT_EQ(FindFreeIndex(image), c.freeIndex) << c.name;

    BuildCase build;
    test_bmp::WriteFile(build.Folder().Path() / "p.bmp", bytes);
    build.Add("m", 0, "p.bmp");
    for (const int expectedConversions : {1, 0}) {
      build.Make();
      ASSERT_EQ(build.Result().PicturesConverted, expectedConversions) << c.name;
      EXPECT_EQ(build.Result().Pictures.at(0).FreeIndex, c.freeIndex) << c.name;
    }
  }
}

TEST(CollectionTest, APictureUsingEveryIndexTakesTheNearestPaletteColour) {
  BuildCase build;
  // Index i has blue i, green 0, red 0; the text colour blue 100 is nearest to index 100.
  test_bmp::WriteFile(build.Folder().Path() / "full.bmp",
                      test_bmp::Bmp8(
                          16, 16, [](int x, int y) { return uint8_t(y * 16 + x); },
                          [](int i) { return uint32_t(i); }));
  build.Add("m", 0, "full.bmp").Color = 0x00640000;  // blue 100
  build.Table().events[0].Lyrics = "x";
  // The Make that converts the picture and the one that finds its PNG up to date (and only
  // scans it) take the same colour from the same palette.
  for (const int conversions : {1, 0}) {
    build.Make();
    ASSERT_EQ(build.Result().PicturesConverted, conversions);
    EXPECT_TRUE(build.Logged(kNoFreeColour));
    EXPECT_EQ(build.Result().WarningLines, 1);
    const Lines lines = build.EventLines();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.starts_with("SetPalette"); }),
              0);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "DrawText(0, 0, 100, \"x\");"), lines.end());
  }
}

const std::map<std::string, std::string> kReasons = {
    {"missing", "ファイルがありません"},
    {"24-bit", "24ビットの画像です"},
    {"garbage", "BMPのファイルヘッダより短いファイルです"},
    {"empty", "BMPのファイルヘッダより短いファイルです"},
    {"pipe", "通常のファイルではありません (名前付きパイプ)"},
    {"nul", "NULバイト"},
};

TEST(CollectionTest, AnUnreadablePictureKeepsItsLoaderButShowsNoPicture) {
  for (const std::string kind : {"missing", "24-bit", "garbage", "empty", "pipe"}) {
    BuildCase build;
    if (kind == "pipe") ::mkfifo((build.Folder().Path() / "p.bmp").c_str(), 0600);
    if (kind == "24-bit")
      test_bmp::WriteFile(build.Folder().Path() / "p.bmp", test_bmp::Bmp24(8, 8));
    if (kind == "garbage")
      test_bmp::WriteFile(build.Folder().Path() / "p.bmp", "BMxxxxxxxxxxxxxxx");
    if (kind == "empty") test_bmp::WriteFile(build.Folder().Path() / "p.bmp", "");
    EventItem& item = build.Add("m", 100, "p.bmp");
    item.Effect = 1;
    item.Naraberu = 1;
    item.Color = 0x000000FF;
    build.Add("next", 200);  // keeps "no picture"
    build.Make();
    EXPECT_TRUE(build.Logged(kBadBmp)) << kind;
    EXPECT_EQ(build.Result().ErrorLines, 1) << kind;
    // The error line is followed by the reason the reader found.
    const auto bad = std::find(build.Log().lines.begin(), build.Log().lines.end(), kBadBmp);
    ASSERT_NE(bad + 1, build.Log().lines.end());
    EXPECT_TRUE(Cp932ToUtf8(*(bad + 1)).starts_with("原因: ")) << kind;
    EXPECT_NE(Cp932ToUtf8(*(bad + 1)).find(kReasons.at(kind)), std::string::npos)
        << kind << ": " << Cp932ToUtf8(*(bad + 1));
    EXPECT_FALSE(build.Logged(kConverting)) << kind;
    EXPECT_FALSE(fs::exists(build.Folder().Path() / "p.png")) << kind;
    const Lines lines = build.ScriptLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "LoadPicture(1,1,\"p.png\");"), lines.end());
    const Lines expected = {"// m",
                            "SetTick(1200);",
                            "SetTick(1008);",
                            "Fade(0, 32766, 144);",
                            "SetTick(1200);" + kFadeOutComment,
                            "SetPalette(0, 1, 16711680);" + kColourComment,
                            kTextPageLine,
                            "ChangePalette(0);",
                            "// next",
                            "SetTick(2400);",
                            "SetPalette(0, 1, 0);" + kColourComment,
                            kTextPageLine,
                            "ChangePalette(0);"};
    EXPECT_EQ(build.EventLines(), expected) << kind;
    EXPECT_TRUE(build.Records("61").empty());
    EXPECT_TRUE(build.Records("43").empty());
  }
}

TEST(CollectionTest, EventsWithoutPicturesAndSlotsBeyondTheCountAddNothing) {
  BuildCase build;
  build.Add("m", 0);
  build.Table().events[1].Picture = "ghost.bmp";  // not a live event
  build.Make();
  EXPECT_EQ(build.CountLogged(kReading), 0);
  const Lines lines = build.ScriptLines();
  EXPECT_EQ(*(std::find(lines.begin(), lines.end(), "DisplayPage(0, 32767);") + 1), "Start();");
}

TEST(CollectionTest, ANewerOrEquallyOldPngIsKept) {
  struct Case {
    const char* name;
    int pngAge;  // seconds from now; 1 means "missing"
    bool converted;
  };
  for (Case c : {Case{"missing", 1, true}, Case{"older", -3600, true}, Case{"same", 0, false},
                 Case{"newer", 3600, false}}) {
    BuildCase build;
    build.Picture("a.bmp", 8, 8);
    const fs::path bmp = build.Folder().Path() / "a.bmp";
    const fs::path png = build.Folder().Path() / "a.png";
    const auto bmpTime = fs::last_write_time(bmp);
    if (c.pngAge != 1) {
      test_bmp::WriteFile(png, "old png");
      fs::last_write_time(png, bmpTime + std::chrono::seconds(c.pngAge));
    }
    build.Add("m", 0, "a.bmp");
    build.Make();
    EXPECT_EQ(build.Logged(kConverting), c.converted) << c.name;
    EXPECT_EQ(build.Result().PicturesConverted, c.converted ? 1 : 0) << c.name;
    EXPECT_EQ(ReadFile(png) == "old png", !c.converted) << c.name;
  }
}

// The packed DOS time has two-second steps: a BMP changed in the same step as its PNG was
// written must still be converted. Exact times decide, to the nanosecond.
TEST(CollectionTest, ABitmapChangedWithinOneSecondOfItsPngIsConverted) {
  struct Case {
    const char* name;
    long pngNanos;  // the PNG's time past the second; the BMP's is 0.6 s past it
    bool converted;
  };
  for (Case c : {Case{"older within the second", 100'000'000, true},
                 Case{"same nanosecond", 600'000'000, false},
                 Case{"one nanosecond newer", 600'000'001, false}}) {
    BuildCase build;
    build.Picture("a.bmp", 8, 8);
    const fs::path bmp = build.Folder().Path() / "a.bmp";
    const fs::path png = build.Folder().Path() / "a.png";
    test_bmp::WriteFile(png, "old png");
    const time_t second = 1'765'000'000;  // an even second: both lie in one DOS time step
    const timespec bmpTimes[2] = {{second, 600'000'000}, {second, 600'000'000}};
    const timespec pngTimes[2] = {{second, c.pngNanos}, {second, c.pngNanos}};
    ASSERT_EQ(::utimensat(AT_FDCWD, bmp.c_str(), bmpTimes, 0), 0);
    ASSERT_EQ(::utimensat(AT_FDCWD, png.c_str(), pngTimes, 0), 0);
    build.Add("m", 0, "a.bmp");
    build.Make();
    EXPECT_EQ(build.Logged(kConverting), c.converted) << c.name;
  }
}

// A NUL byte would cut the name short onto the BMP itself; a folder named like the PNG is no PNG.
TEST(CollectionTest, ANulInThePictureNameOrAFolderForThePngIsAnError) {
  BuildCase build;
  build.Picture("night.bmp", 8, 8);
  build.Picture("day.bmp", 8, 8);
  fs::create_directory(build.Folder().Path() / "day.png");
  build.Add("m", 0, std::string("night.bmp\0png", 13));
  build.Add("n", 10, "day.bmp");
  build.Make();
  const Lines& lines = build.Log().lines;
  const auto bad = std::find(lines.begin(), lines.end(), kBadBmp);
  ASSERT_NE(bad, lines.end());
  EXPECT_NE(Cp932ToUtf8(*(bad + 1)).find(kReasons.at("nul")), std::string::npos);
  EXPECT_TRUE(build.Logged(kConverting));
  EXPECT_EQ(build.Result().ErrorLines, 2);  // the NUL picture and the PNG that cannot be written
  EXPECT_TRUE(fs::is_directory(build.Folder().Path() / "day.png"));
  EXPECT_EQ(build.Folder().Names().size(), 5u);  // song.vnl, song.evn, two BMPs, the folder
}

// The reading line shows a control byte in the name as the checks do, instead of ending at it.
TEST(CollectionTest, TheReadingLineShowsControlBytesOfTheName) {
  BuildCase build;
  build.Add("m", 0, std::string("night.bmp\0p\ng", 13));
  build.Make();
  const Lines& lines = build.Log().lines;
  const auto reading = std::find_if(lines.begin(), lines.end(),
                                    [](const std::string& l) { return l.starts_with(kReading); });
  ASSERT_NE(reading, lines.end());
  EXPECT_TRUE(reading->ends_with("/night.bmp<00>p<0A>g")) << *reading;
}

}  // namespace
