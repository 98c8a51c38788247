// How events become commands and script lines.

#include <gtest/gtest.h>

#include "make/build_case.h"

namespace {

using namespace build_test;
using Lines = std::vector<std::string>;

TEST(GenerationTest, AnEventSixteenStepsInFadesOutFromTheStart) {
  BuildCase build;
  build.Picture("a.bmp", 10, 10);
  build.Add("m", 16, "a.bmp").Effect = 1;
  build.Make();
  const Lines lines = build.EventLines();
  ASSERT_GE(lines.size(), 6u);
  EXPECT_EQ(lines[4], "SetTick(0);");
  EXPECT_EQ(lines[5], "Fade(0, 32766, 144);");
  EXPECT_EQ(lines[6], "SetTick(192);" + kFadeOutComment);
  const Lines blends = build.Records("42");
  ASSERT_EQ(blends.size(), 38u);
  EXPECT_EQ(blends.front(), "0 42: FF FF FD FF FE FF 00 08 00 00 08 00 64 00");
  EXPECT_EQ(blends[18], "144 42: FF FF FD FF FE FF 00 08 00 00 08 00 00 64");
  EXPECT_EQ(blends.back(), "336 42: FD FF FF FF FE FF 00 08 00 00 08 00 00 64");
}

TEST(GenerationTest, AnEventFifteenStepsInHasNoFadeOutButFadesIn) {
  BuildCase build;
  build.Picture("a.bmp", 10, 10);
  build.Add("m", 15, "a.bmp").Effect = 2;
  build.Make();
  const Lines lines = build.EventLines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "Fade(0, 32765, 144);"), 0);
  EXPECT_EQ(lines.back(), "Fade(32765, 1, 144);" + kFadeInComment);
  const Lines blends = build.Records("42");
  ASSERT_EQ(blends.size(), 19u);
  EXPECT_EQ(blends.front(), "180 42: FC FF FF FF FE FF 00 08 00 00 08 00 64 00");
  EXPECT_EQ(blends[1], "188 42: FC FF FF FF FE FF 00 08 00 00 08 00 5F 05");
}

TEST(GenerationTest, WithoutEffectAnEventEndsWithTheDisplayPalette) {
  for (int effect : {0, -1, 3}) {
    BuildCase build;
    build.Picture("a.bmp", 10, 10);
    build.Add("m", 100, "a.bmp").Effect = effect;
    build.Make();
    EXPECT_EQ(build.EventLines().back(), "ChangePalette(0);") << effect;
    EXPECT_TRUE(build.Records("42").empty());
    EXPECT_EQ(build.EventRecords().back(), "1200 31: FF FF") << effect;
  }
}

TEST(GenerationTest, TilingAHundredPixelPictureGivesThirtyFiveMovesColumnByColumn) {
  BuildCase build;
  build.Picture("t.bmp", 100, 100);
  build.Add("m", 1, "t.bmp").Naraberu = 1;
  build.Make();
  Lines moves;
  for (const std::string& line : build.EventLines()) {
    if (line.starts_with("Move(")) moves.push_back(line);
  }
  ASSERT_EQ(moves.size(), 35u);
  EXPECT_EQ(moves[0], "Move(0, 0, 99, 99, 0, 0, 1, 0);");
  EXPECT_EQ(moves[4], "Move(0, 0, 99, 79, 0, 400, 1, 0);");
  EXPECT_EQ(moves[5], "Move(0, 0, 99, 99, 100, 0, 1, 0);");
  EXPECT_EQ(moves[34], "Move(0, 0, 39, 79, 600, 400, 1, 0);");
  const Lines records = build.Records("61");
  ASSERT_EQ(records.size(), 35u);
  EXPECT_EQ(records[34], "12 61: 00 00 FF FF FF 00 00 00 00 00 27 00 4F 00 58 02 90 01");
  EXPECT_TRUE(build.Records("52").empty());  // no fill before tiles
}

TEST(GenerationTest, CentringALargePictureGivesNegativeOffsets) {
  BuildCase build;
  build.Picture("big.bmp", 800, 600);
  build.Picture("wide.bmp", 641, 10);
  build.Add("a", 0, "big.bmp");
  build.Add("b", 0, "wide.bmp");
  build.Make();
  const Lines lines = build.EventLines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Move(0, 0, 799, 599, -80, -60, 1, 0);"),
            lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Move(0, 0, 640, 9, 0, 235, 2, 0);"),
            lines.end());
  EXPECT_EQ(build.Records("52").size(), 2u);
  EXPECT_EQ(build.Records("61")[0], "0 61: 00 00 FF FF FF 00 00 00 00 00 1F 03 57 02 B0 FF C4 FF");
}

TEST(GenerationTest, LyricLinesAreDrawnSixteenPixelsApart) {
  BuildCase build;
  EventItem& item = build.Add("m", 1);
  item.Lyrics = "abc\r\n\r\ndef\r\n";
  item.X1 = 10;
  item.Y1 = 20;
  build.Make();
  const Lines lines = build.EventLines();
  const Lines expected = {"// m",
                          "SetTick(12);",
                          "SetPalette(0, 1, 0);" + kColourComment,
                          kTextPageLine,
                          "DrawText(10, 20, 1, \"abc\");",
                          "DrawText(10, 52, 1, \"def\");",
                          "ChangePalette(0);"};
  EXPECT_EQ(lines, expected);
  EXPECT_EQ(build.Records("51").size(), 2u);
}

TEST(GenerationTest, EmptyLyricsDrawNothingButTheTextPageLineStays) {
  BuildCase build;
  build.Add("", 0);
  build.Make();
  const Lines expected = {"// ", "SetTick(0);", "SetPalette(0, 1, 0);" + kColourComment,
                          kTextPageLine, "ChangePalette(0);"};
  EXPECT_EQ(build.EventLines(), expected);
  EXPECT_TRUE(build.Records("51").empty());
}

TEST(GenerationTest, AlignmentPlacesEightPixelsPerByte) {
  struct Case {
    int align;
    int x;
  };
  for (Case c : {Case{0, 0}, Case{1, 76}, Case{2, 38}, Case{-1, 38}}) {
    BuildCase build;
    EventItem& item = build.Add("m", 0);
    item.Lyrics = "abc";
    item.X2 = 100;
    item.Align = c.align;
    build.Make();
    EXPECT_EQ(build.EventLines()[4], "DrawText(" + std::to_string(c.x) + ", 0, 1, \"abc\");")
        << c.align;
  }
}

TEST(GenerationTest, QuotesAndShiftJisInLyricsAreWrittenAsTheyAre) {
  BuildCase build;
  build.Add("m", 0).Lyrics = "say \"\x95\x5C\"";  // 表 ends with a backslash byte
  build.Make();
  EXPECT_EQ(build.EventLines()[4], "DrawText(0, 0, 1, \"say \"\x95\x5C\"\");");
}

TEST(GenerationTest, AnEventWithoutPictureKeepsThePreviousOne) {
  BuildCase build;
  build.Picture("a.bmp", 10, 10, 3);  // free index 255
  build.Add("first", 0, "a.bmp").Color = 0x00123456;
  EventItem& second = build.Add("second", 100);
  second.Effect = 1;
  second.Color = 0x000000FF;
  build.Make();
  const Lines lines = build.EventLines();
  auto at = std::find(lines.begin(), lines.end(), "// second");
  ASSERT_NE(at, lines.end());
  const Lines tail(at, lines.end());
  const Lines expected = {"// second",
                          "SetTick(1200);",
                          "SetTick(1008);",
                          "Fade(0, 32766, 144);",
                          "SetTick(1200);" + kFadeOutComment,
                          "CopyPalette(0, 1);",
                          "SetPalette(0, 255, 16711680);" + kColourComment,
                          kTextPageLine,
                          "Fade(32766, 1, 144);" + kFadeInComment};
  EXPECT_EQ(tail, expected);
  EXPECT_EQ(build.Records("61").size(), 1u);  // the second event moves nothing
}

TEST(GenerationTest, AnEventWithoutPictureBeforeAnyPictureHasNone) {
  BuildCase build;
  build.Picture("a.bmp", 10, 10);
  EventItem& first = build.Add("first", 0);
  first.Effect = 1;
  first.Color = 0x0000FF00;
  build.Add("second", 20, "a.bmp");
  build.Make();
  const Lines lines = build.EventLines();
  const Lines expected = {"// first", "SetTick(0);", "SetPalette(0, 1, 65280);" + kColourComment,
                          kTextPageLine, "ChangePalette(0);"};
  EXPECT_EQ(Lines(lines.begin(), lines.begin() + 5), expected);
  EXPECT_EQ(build.Records("43").size(), 1u);  // only the second copies a palette
}

TEST(GenerationTest, EventsAreIssuedInTableOrderAndSortedInTheFile) {
  BuildCase build;
  build.Add("late", 100);
  build.Add("early", 10);
  build.Make();
  const Lines lines = build.EventLines();
  EXPECT_EQ(lines[0], "// late");
  const Lines records = build.Records("31");
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0], "120 31: FF FF");
  EXPECT_EQ(records[1], "1200 31: FF FF");
}

TEST(GenerationTest, AnEventTimeOutsideTheWritersRangeIsAnErrorAndPlayedAtTheStart) {
  for (int32_t count : {-5, INT32_MAX, 0x10000000 / 12, INT32_MIN}) {
    BuildCase build;
    build.Add("ok", 1);
    EventItem& bad = build.Add("bad", count);
    bad.Effect = 1;
    build.Make();
    EXPECT_EQ(build.Result().ErrorLines, 1) << count;
    EXPECT_EQ(build.CountLogged(kErrorPrefix), 1);
    const std::string& errorLine =
        *std::find_if(build.Log().lines.begin(), build.Log().lines.end(),
                      [](const std::string& l) { return l.starts_with(kErrorPrefix); });
    EXPECT_TRUE(errorLine.ends_with(" bad")) << count;
    EXPECT_EQ(build.Log().lines.back(), kEnd);
    const Lines lines = build.EventLines();
    auto at = std::find(lines.begin(), lines.end(), "// bad");
    ASSERT_NE(at, lines.end());
    EXPECT_EQ(*(at + 1), "SetTick(0);");
    // The file is well formed and the bad event's commands are at tick 0.
    EXPECT_EQ(build.Records("31"), (Lines{"0 31: FF FF", "12 31: FF FF"})) << count;
  }
}

TEST(GenerationTest, TheLastEncodableEventTimeIsAccepted) {
  BuildCase build;
  build.Picture("a.bmp", 4, 4);
  const int32_t count = (0x10000000 - 1 - 144) / 12;
  build.Add("edge", count, "a.bmp").Effect = 1;
  build.Make();
  EXPECT_EQ(build.Result().ErrorLines, 0);
  const std::string last = build.Records("42").back();
  EXPECT_EQ(last.substr(0, last.find(' ')), std::to_string(count * 12 + 144));
}

}  // namespace
