// Songs no player should take: songs that would play for hours or years after one damaged delta
// time or tempo.

#include <gtest/gtest.h>

#include "smf_builder.h"
#include "song/midi_file_reader.h"

namespace {

// An hour at 120 BPM (691200 ticks at division 96), then an hour at 240 BPM (1382400 ticks).
// Read at 120 BPM alone, the song would seem three hours long.
std::vector<uint8_t> TwoTempoSong(uint32_t extra_ticks) {
  TrackBuilder track;
  track.Tempo(0, 500000).Tempo(691200, 250000).End(1382400 + extra_ticks);
  return BuildSmf(0, 96, {track});
}

TEST(SongFileLimits, ASongLongerThanTwoHoursIsRefusedNamingItsLength) {
  // Division 1, a quarter note of 16.8 s and one delta of 0x0FFFFFFF: 44 bytes, 142 years.
  TrackBuilder years;
  years.Tempo(0, 0xFFFFFF).Raw(0x0FFFFFFF, {0x90, 60, 100}).Raw(0, {0x80, 60, 0}).End();
  const std::pair<std::vector<uint8_t>, std::string> cases[] = {
      {TwoTempoSong(0), "(played)"},
      {TwoTempoSong(1), "曲が長すぎます: 長さ 2 時間 0 分 1 秒 (2 時間まで)"},
      {BuildSmf(0, 1, {years}), "曲が長すぎます: 長さ 1250999 時間 49 分 3 秒 (2 時間まで)"},
  };
  for (const auto& [bytes, outcome] : cases) {
    try {
      ParseMidi(bytes);
      EXPECT_EQ(outcome, "(played)");
    } catch (const MidiFileError& error) {
      EXPECT_EQ(error.what(), outcome);
    }
  }
}

}  // namespace
