#include "document/song_argument.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

struct SongCase {
  const char* argument;
  const char* song;
};

class SongArgumentTest : public testing::TestWithParam<SongCase> {};

TEST_P(SongArgumentTest, AProjectFileStandsForTheMidiFileOfItsBaseName) {
  EXPECT_EQ(SongPathForArgument(GetParam().argument), GetParam().song);
}

INSTANTIATE_TEST_SUITE_P(Arguments, SongArgumentTest,
                         testing::Values(SongCase{"/no/such/dir/song.vwm", "/no/such/dir/song.mid"},
                                         SongCase{"song.VWM", "song.mid"},
                                         SongCase{"a.b.vwm", "a.b.mid"},
                                         SongCase{"song.mid", "song.mid"},
                                         SongCase{"song.vnl", "song.vnl"}, SongCase{".vwm", ".vwm"},
                                         SongCase{"vwm", "vwm"}));

TEST(SongArgument, TakesTheUpperCaseSongWhenOnlyThatOneExists) {
  const std::filesystem::path dir = testing::TempDir() + "song_argument_upper";
  std::filesystem::create_directories(dir);
  std::ofstream((dir / "tune.MID").string()) << "x";
  EXPECT_EQ(SongPathForArgument((dir / "tune.vwm").string()), (dir / "tune.MID").string());
  std::ofstream((dir / "tune.mid").string()) << "x";
  EXPECT_EQ(SongPathForArgument((dir / "tune.vwm").string()), (dir / "tune.mid").string());
  std::filesystem::remove_all(dir);
}

TEST(SongArgument, ASongOrProjectAsTypedNamesTheFilesBesideIt) {
  const struct {
    const char* typed;
    const char* extension;
    const char* beside;
  } cases[] = {
      {"a/X.MID", "vnl", "a/X.vnl"}, {"X.vwm", "vnl", "X.vnl"}, {"DEMO.VWM", "vwm", "DEMO.vwm"},
      {"表.mid", "vwm", "表.vwm"},   {"X.vnl", "vwm", "X.vnl"}, {"mid", "vnl", "mid"},
      {"./.MiD", "vnl", "./.vnl"},   {".vwm", "vnl", ".vwm"},
  };
  for (const auto& c : cases) EXPECT_EQ(BesideSong(c.typed, c.extension), c.beside) << c.typed;
  EXPECT_FALSE(IsSongOrProject("song.midi"));
  EXPECT_TRUE(HasExtension("SONG.Mid", ".mid"));
}

}  // namespace
