// vwrd-import as a user runs it: a karaoke song in, a project out that the checks find no
// error in; an existing project kept unless --force, and then kept as .bak.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "checks/check.h"
#include "document/project_file.h"
#include "lyrics/lyric_song_builder.h"
#include "make/lyric_layout.h"
#include "tests/support/program_run.h"
#include "tests/support/temp_folder.h"

namespace {

using test_support::ProgramRun;
using test_support::ReadAll;

class VwrdImportTest : public testing::Test {
 protected:
  ProgramRun Import(const std::vector<std::string>& arguments) {
    return test_support::RunProgram(VWRD_IMPORT_EXE, arguments, temp_.Path(), "timeout 60");
  }

  // A karaoke song of three pages, the last line far too wide for one screen line.
  std::string WriteKaraokeSong(const std::string& name) {
    std::vector<Sung> sung = Sjis({{96, "\\ほし"},
                                   {120, "が"},
                                   {192, "/ひかる"},
                                   {480, "\\よる"},
                                   {960, "\\" + std::string(50, 'x')},
                                   {984, std::string(50, 'y')}});
    return temp_.Write(name, LyricSong({TextTrack(0x01, sung, 1920)}));
  }

  TempFolder temp_;
};

TEST_F(VwrdImportTest, WritesAProjectTheChecksFindNoErrorIn) {
  const std::string song = WriteKaraokeSong("表ソ.mid");
  const ProgramRun run = Import({song});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "0:00.00     0  ほしが / ひかる\n"
            "0:02.00    16  よる\n"
            "0:04.50    36  " +
                std::string(80, 'x').replace(50, 30, std::string(30, 'y')) + " / " +
                std::string(20, 'y') + "\n");
  auto table = std::make_unique<EventTable>();
  ASSERT_EQ(ReadProjectFile(temp_ / "表ソ.vwm", *table).status, ProjectLoad::Status::kLoaded);
  ASSERT_EQ(table->EventCount, 3);
  for (const Problem& problem : Check(*table, 80)) {
    EXPECT_NE(problem.Level, Problem::Severity::kError) << problem.Id;
    EXPECT_NE(problem.Id, "text-outside-rect");
  }
  // The same through the program: warnings only (the default layout has no picture yet).
  const ProgramRun check =
      test_support::RunProgram(VWRD_MAKE_EXE, {"--check", song}, temp_.Path(), "timeout 60");
  EXPECT_EQ(check.status, 1) << check.err;
  EXPECT_EQ(check.out.find("エラー"), std::string::npos) << check.out;
  EXPECT_NE(check.out.find("警告"), std::string::npos) << check.out;
}

TEST_F(VwrdImportTest, KeepsAnExistingProjectUnlessForcedAndThenKeepsItAsBak) {
  const std::string song = WriteKaraokeSong("song.mid");
  temp_.Write("song.vwm", {'o', 'l', 'd'});
  EXPECT_EQ(Import({song}).status, 2);
  EXPECT_EQ(ReadAll(temp_ / "song.vwm"), "old");
  EXPECT_EQ(Import({song, "--force", "--lead", "0"}).status, 0);
  EXPECT_EQ(ReadAll(temp_ / "song.vwm.bak"), "old");
  EXPECT_NE(ReadAll(temp_ / "song.vwm"), "old");
}

TEST_F(VwrdImportTest, EveryPageTakesTheTemplatesLayout) {
  auto layout = std::make_unique<EventTable>();
  EventItem& first = layout->events[0];
  first = {"t", 0, "night.bmp", kEffectFadeBlack, "x", 100, 200, 300, 400, 1, kAlignLeft, 0xFF};
  layout->EventCount = 1;
  WriteProjectFile(temp_ / "layout.vwm", *layout);
  const std::string song = WriteKaraokeSong("song.mid");
  ASSERT_EQ(Import({song, "--template", temp_ / "layout.vwm"}).status, 0);
  auto table = std::make_unique<EventTable>();
  ReadProjectFile(temp_ / "song.vwm", *table);
  ASSERT_EQ(table->EventCount, 3);
  for (int i = 0; i < table->EventCount; ++i) {
    // Columns 100 .. 300 hold 25 bytes: the long line is cut for them.
    for (const std::string& line : SplitLyricLines(table->events[i].Lyrics)) {
      EXPECT_LE(line.size(), 25u);
    }
    EventItem expected = first;
    expected.Mark = table->events[i].Mark;
    expected.Count = table->events[i].Count;
    expected.Lyrics = table->events[i].Lyrics;
    EXPECT_EQ(table->events[i], expected);
  }
}

TEST_F(VwrdImportTest, ExitStatusSaysWhatWasImported) {
  const std::string plain = temp_.Write("plain.mid", LyricSong({TrackBuilder().End()}));
  const std::string odd =
      temp_.Write("odd.mid", LyricSong({TextTrack(0x05, {{0, "la\xF0\x9F\x98\x80"}})}));
  EXPECT_EQ(Import({plain}).status, 2);  // no lyrics
  EXPECT_FALSE(std::filesystem::exists(temp_ / "plain.vwm"));
  EXPECT_EQ(Import({odd, "-o", temp_ / "out.vwm"}).status, 1);  // a character became "?"
  EXPECT_TRUE(std::filesystem::exists(temp_ / "out.vwm"));
  EXPECT_EQ(Import({temp_ / "missing.mid"}).status, 2);
  EXPECT_EQ(Import({plain, "--lead", "33"}).status, 2);
  EXPECT_EQ(Import({}).status, 2);
}

}  // namespace
