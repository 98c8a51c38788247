#include "song/midi_file_reader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "smf_builder.h"

namespace {

using ::testing::HasSubstr;

struct LengthCase {
  const char* name;
  std::vector<uint8_t> bytes;
  uint32_t length_ticks;
  int32_t length_sixteenths;
};

std::vector<LengthCase> LengthCases() {
  return {
      {"format 0, division 96, four quarter notes",
       BuildSmf(0, 96,
                {TrackBuilder().Note(0, 0, 60, 96).Note(0, 0, 62, 96).Note(0, 0, 64, 192).End()}),
       384, 16},
      {"format 0, division 480, the end between two sixteenths rounds up",
       BuildSmf(0, 480, {TrackBuilder().Note(0, 0, 60, 1000).End()}), 1000, 9},
      {"format 0, division 960, end of track after the last note",
       BuildSmf(0, 960, {TrackBuilder().Note(0, 0, 60, 960).End(960)}), 1920, 8},
      {"format 1, division 960, tempo track and one part",
       BuildSmf(1, 960,
                {TrackBuilder().Tempo(0, 400000).Tempo(3840, 600000).End(),
                 TrackBuilder().Note(0, 1, 48, 7680).End()}),
       7680, 32},
      {"format 1, the longest track sets the length",
       BuildSmf(1, 96,
                {TrackBuilder().Tempo(0, 500000).End(), TrackBuilder().Note(0, 0, 60, 96).End(),
                 TrackBuilder().Note(48, 1, 40, 200).End(10)}),
       258, 11},
      {"format 1, empty tracks",
       BuildSmf(1, 96, {TrackBuilder().End(), TrackBuilder().End(), TrackBuilder().End(96)}), 96,
       4},
      {"an empty song", BuildSmf(0, 96, {TrackBuilder().End()}), 0, 0},
      {"running status over many notes",
       BuildSmf(0, 96,
                {TrackBuilder()
                     .Raw(0, {0x90, 60, 100})
                     .Raw(24, {62, 100})
                     .Raw(24, {64, 100})
                     .Raw(24, {60, 0})
                     .Raw(24, {62, 0})
                     .Raw(0, {64, 0})
                     .End()}),
       96, 4},
      {"tempo changes do not change the length in sixteenths",
       BuildSmf(0, 480,
                {TrackBuilder().Tempo(0, 1000000).Tempo(480, 250000).Note(480, 0, 60, 960).End()}),
       1920, 16},
      {"sysex, escapes and text events",
       BuildSmf(0, 96,
                {TrackBuilder()
                     .Raw(0, {0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7})
                     .Raw(0, {0xF7, 0x02, 0x01, 0x02})
                     .Meta(0, 0x03, "Melody")
                     .Note(12, 0, 60, 12)
                     .End()}),
       24, 1},
  };
}

TEST(MidiFileReader, ReadsTheExactLengthOfEachSong) {
  for (const LengthCase& c : LengthCases()) {
    SCOPED_TRACE(c.name);
    const MidiSong song = ParseMidi(c.bytes);
    EXPECT_EQ(song.length_ticks, c.length_ticks);
    EXPECT_EQ(song.length_sixteenths, c.length_sixteenths);
  }
}

TEST(MidiFileReader, MergesTracksInTimeOrderKeepingTrackOrderAtEqualTicks) {
  const MidiSong song =
      ParseMidi(BuildSmf(1, 96,
                         {TrackBuilder().Raw(0, {0xC0, 5}).Raw(96, {0xC0, 6}).End(),
                          TrackBuilder().Raw(48, {0xC1, 7}).Raw(48, {0xC1, 8}).End()}));
  std::vector<std::pair<uint32_t, uint8_t>> programs;
  for (const MidiEvent& event : song.events) {
    if (event.Kind() == 0xC0 && event.IsChannel()) programs.push_back({event.tick, event.data1});
  }
  EXPECT_EQ(programs,
            (std::vector<std::pair<uint32_t, uint8_t>>{{0, 5}, {48, 7}, {96, 6}, {96, 8}}));
}

TEST(MidiFileReader, RunningStatusRepeatsTheLastChannelStatus) {
  const MidiSong song = ParseMidi(BuildSmf(0, 96,
                                           {TrackBuilder()
                                                .Raw(0, {0x93, 60, 100})
                                                .Raw(10, {61, 90})
                                                .Raw(0, {0xC3, 4})
                                                .Raw(0, {5})
                                                .End()}));
  ASSERT_EQ(song.events.size(), 5u);
  EXPECT_EQ(song.events[1].status, 0x93);
  EXPECT_EQ(song.events[1].tick, 10u);
  EXPECT_EQ(song.events[1].data1, 61);
  EXPECT_EQ(song.events[1].data2, 90);
  EXPECT_EQ(song.events[3].status, 0xC3);
  EXPECT_EQ(song.events[3].data1, 5);
}

TEST(MidiFileReader, KeepsSysExAndMetaBytes) {
  const MidiSong song = ParseMidi(BuildSmf(
      0, 96, {TrackBuilder().Raw(0, {0xF0, 0x03, 0x41, 0x10, 0xF7}).Meta(5, 0x01, "hi").End()}));
  ASSERT_EQ(song.events.size(), 3u);
  EXPECT_EQ(song.events[0].status, MidiEvent::kSysEx);
  EXPECT_EQ(std::vector<uint8_t>(song.Data(song.events[0]), song.Data(song.events[0]) + 3),
            (std::vector<uint8_t>{0x41, 0x10, 0xF7}));
  EXPECT_EQ(song.events[1].data1, 0x01);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(song.Data(song.events[1])), 2), "hi");
}

TEST(MidiFileReader, BuildsTheTempoMapFromEveryTrack) {
  // 60 BPM for the first quarter note, then 120 BPM (set in the second track).
  const MidiSong song = ParseMidi(BuildSmf(
      1, 96, {TrackBuilder().Tempo(0, 1000000).End(), TrackBuilder().Tempo(96, 500000).End(192)}));
  EXPECT_EQ(song.tempo.MicrosAtTick(96), 1000000);
  EXPECT_EQ(song.tempo.MicrosAtTick(192), 1500000);
  EXPECT_EQ(song.tempo.SixteenthAtMicros(1500000), 8);
}

TEST(MidiFileReader, SkipsUnknownChunksAndTrailingBytes) {
  std::vector<uint8_t> bytes = BuildSmf(0, 96, {});
  bytes[11] = 1;  // one track
  PutChunk(bytes, "XYZW", {1, 2, 3});
  PutChunk(bytes, "MTrk", TrackBuilder().Note(0, 0, 60, 96).End().Data());
  bytes.push_back(0);
  EXPECT_EQ(ParseMidi(bytes).length_sixteenths, 4);
}

}  // namespace
