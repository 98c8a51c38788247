// Songs a player cannot play for what they are: files that are no regular file (a named pipe
// would block every program that opens it) and songs that would play for hours or years.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>

#include "fake_time_source.h"
#include "smf_builder.h"
#include "song/fluid_media_player.h"
#include "song/midi_file_reader.h"
#include "tests/support/non_regular_inputs.h"
#include "tests/support/temp_folder.h"

namespace {

struct Refusal {
  std::string message;
  int system_reason = 0;
};

Refusal RefusalOf(const std::string& path) {
  try {
    ReadMidiFile(path);
  } catch (const MidiFileError& error) {
    return {error.what(), error.SystemReason()};
  }
  return {"(accepted)"};
}

TEST(SongFileLimits, WhatIsNoRegularFileIsRefusedAtOnceWithItsReason) {
  TempFolder temp("vwrd-song-inputs");
  for (const auto& input : test_support::MakeNonRegularInputs(temp.Path(), ".mid")) {
    SCOPED_TRACE(input.name);
    const Refusal refusal = RefusalOf(temp.File(input.name));
    if (input.kind.empty()) {
      EXPECT_EQ(refusal.message, "開けません (ファイルがありません)");
      EXPECT_EQ(refusal.system_reason, ENOENT);
    } else if (input.kind == "フォルダ") {
      EXPECT_EQ(refusal.message, "フォルダーです");
      EXPECT_EQ(refusal.system_reason, EISDIR);
    } else {
      EXPECT_EQ(refusal.message, "通常のファイルではありません (" + input.kind + ")");
      EXPECT_EQ(refusal.system_reason, 0);
    }
  }
}

TEST(SongFileLimits, OpeningAPipeAsTheSongIsRefusedAndKeepsTheSongBefore) {
  TempFolder temp("vwrd-song-pipe");
  const std::string song =
      temp.Write("song.mid", BuildSmf(0, 96, {TrackBuilder().Note(0, 0, 60, 96).End(96 * 3)}));
  ASSERT_EQ(::mkfifo(temp.File("pipe.mid").c_str(), 0600), 0);
  FluidMediaPlayer player(std::make_shared<FakeTimeSource>(), nullptr);
  player.Open(song);
  try {
    player.Open(temp.File("pipe.mid"));
    ADD_FAILURE() << "a pipe was opened";
  } catch (const MediaError& error) {
    EXPECT_STREQ(error.what(), "通常のファイルではありません (名前付きパイプ)");
  }
  EXPECT_EQ(player.Length(), 16);
}

// Two tempos: an hour at 120 BPM (691200 ticks at division 96), then 240 BPM, an hour more
// after 1382400 ticks. Read at 120 BPM alone, the song would seem three hours long.
std::vector<uint8_t> TwoTempoSong(uint32_t extra_ticks) {
  return BuildSmf(
      0, 96, {TrackBuilder().Tempo(0, 500000).Tempo(691200, 250000).End(1382400 + extra_ticks)});
}

TEST(SongFileLimits, ASongLongerThanTwoHoursIsRefusedNamingItsLength) {
  // Division 1, a quarter note of 16.8 s and one delta of 0x0FFFFFFF: 44 bytes, 142 years.
  const std::vector<uint8_t> years = BuildSmf(0, 1,
                                              {TrackBuilder()
                                                   .Tempo(0, 0xFFFFFF)
                                                   .Raw(0x0FFFFFFF, {0x90, 60, 100})
                                                   .Raw(0, {0x80, 60, 0})
                                                   .End()});
  ASSERT_EQ(years.size(), 44u);
  const struct {
    const char* name;
    std::vector<uint8_t> bytes;
    const char* refusal;  // empty: played
  } cases[] = {
      {"two hours through a tempo change", TwoTempoSong(0), ""},
      {"a tick more", TwoTempoSong(1), "曲が長すぎます: 長さ 2 時間 0 分 1 秒 (2 時間まで)"},
      {"the 44 bytes", years, "曲が長すぎます: 長さ 1250999 時間 49 分 3 秒 (2 時間まで)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      const MidiSong song = ParseMidi(c.bytes);
      EXPECT_STREQ(c.refusal, "");
      EXPECT_EQ(song.tempo.MicrosAtTick(song.length_ticks), kMaxSongMicros);
    } catch (const MidiFileError& error) {
      EXPECT_STREQ(error.what(), c.refusal);
    }
  }
}

}  // namespace
