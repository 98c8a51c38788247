#include "document/names.h"

#include <gtest/gtest.h>

namespace {

// "表" is 95 5C in Shift-JIS: its second byte is a backslash that is no separator.
const std::string kHyou = "\x95\x5C";

TEST(NamesTest, FolderSeparatorsAreSlashBackslashAndColon) {
  EXPECT_FALSE(HasFolderPart("a.bmp"));
  EXPECT_TRUE(HasFolderPart("sub/a.bmp"));
  EXPECT_TRUE(HasFolderPart("sub\\a.bmp"));
  EXPECT_TRUE(HasFolderPart("C:a.bmp"));
  EXPECT_FALSE(HasFolderPart(kHyou + ".bmp"));
  EXPECT_TRUE(HasFolderPart(kHyou + "\\a.bmp"));
}

TEST(NamesTest, FileNamePartIsTheTextAfterTheLastSeparator) {
  EXPECT_EQ(FileNamePart("C:\\pics\\sky.bmp"), "sky.bmp");
  EXPECT_EQ(FileNamePart("/home/u/pics/sky.bmp"), "sky.bmp");
  EXPECT_EQ(FileNamePart("sky.bmp"), "sky.bmp");
  EXPECT_EQ(FileNamePart("dir/"), "");
  EXPECT_EQ(FileNamePart("dir/" + kHyou + ".bmp"), kHyou + ".bmp");
  EXPECT_EQ(FolderPart("/home/u/sky.bmp"), "/home/u");
  EXPECT_EQ(FolderPart("sky.bmp"), "");
}

TEST(NamesTest, MidiPathGivesFolderWithSlashAndBaseNameWithDot) {
  EventTable table;
  SetMidiPath(table, "/songs/song.mid");
  EXPECT_EQ(table.MidiPath, "/songs/song.mid");
  EXPECT_EQ(table.MidiFolder, "/songs/");
  EXPECT_EQ(table.BaseName, "song.");
  EXPECT_EQ(ProjectFilePath(table), "/songs/song.vwm");
  EXPECT_EQ(VnlFilePath(table), "/songs/song.vnl");
  EXPECT_EQ(EvnFilePath(table), "/songs/song.evn");
}

TEST(NamesTest, BaseNameDropsExactlyThreeCharacters) {
  EventTable table;
  SetMidiPath(table, "/songs/song.midi");
  EXPECT_EQ(ProjectFilePath(table), "/songs/song.mvwm");
  SetMidiPath(table, "/songs/tune.MID");
  EXPECT_EQ(table.BaseName, "tune.");
  SetMidiPath(table, "/songs/ab");
  EXPECT_EQ(table.BaseName, "");
  // A double-byte character counts as one.
  SetMidiPath(table, "/songs/x" + kHyou + kHyou + kHyou);
  EXPECT_EQ(table.BaseName, "x");
}

TEST(NamesTest, ABareMidiFileNameLiesInTheCurrentFolder) {
  EventTable table;
  SetMidiPath(table, "song.mid");
  EXPECT_EQ(table.MidiFolder, "./");
  EXPECT_EQ(ProjectFilePath(table), "./song.vwm");
  SetMidiPath(table, "/song.mid");
  EXPECT_EQ(table.MidiFolder, "/");
}

TEST(NamesTest, RelativePicturesLieInTheMidiFolder) {
  EventTable table;
  SetMidiPath(table, "/songs/song.mid");
  EXPECT_EQ(ResolvePicturePath(table, "a.bmp"), "/songs/a.bmp");
  EXPECT_EQ(ResolvePicturePath(table, "sub/a.bmp"), "/songs/sub/a.bmp");
  EXPECT_EQ(ResolvePicturePath(table, "/pics/a.bmp"), "/pics/a.bmp");
}

TEST(NamesTest, NamesCompareWithoutRegardToAsciiCase) {
  EXPECT_TRUE(SameNameIgnoringCase("A.BMP", "a.bmp"));
  EXPECT_FALSE(SameNameIgnoringCase("a.bmp", "a.bmpx"));
  EXPECT_FALSE(SameNameIgnoringCase("\xE0", "\xC0"));  // only a-z fold
}

}  // namespace
