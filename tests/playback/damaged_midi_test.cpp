// Damaged MIDI files that common players play: the reader plays what is there and says what
// it mended.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "playback/midi_file_reader.h"
#include "smf_builder.h"

namespace {

// Two tracks: a tempo track and one with two notes.
std::vector<uint8_t> Whole() {
  return BuildSmf(1, 96,
                  {TrackBuilder().Tempo(0, 500000).End(),
                   TrackBuilder().Note(0, 0, 60, 96).Note(0, 0, 62, 96).End()});
}

// The last track ends after its notes, without its end of track event.
std::vector<uint8_t> WithoutLastEnd() {
  std::vector<uint8_t> bytes = BuildSmf(1, 96, {TrackBuilder().Tempo(0, 500000).End()});
  PutChunk(bytes, "MTrk", TrackBuilder().Note(0, 0, 60, 96).Note(0, 0, 62, 96).Data());
  bytes[11] = 2;
  return bytes;
}

std::vector<uint8_t> Riff(const std::vector<uint8_t>& smf) {
  std::vector<uint8_t> out = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'R', 'M', 'I', 'D'};
  const uint32_t size = static_cast<uint32_t>(smf.size());
  out.insert(out.end(), {'d', 'a', 't', 'a', uint8_t(size), uint8_t(size >> 8), uint8_t(size >> 16),
                         uint8_t(size >> 24)});
  out.insert(out.end(), smf.begin(), smf.end());
  const uint32_t riff = static_cast<uint32_t>(out.size() - 8);
  out[4] = uint8_t(riff), out[5] = uint8_t(riff >> 8), out[6] = uint8_t(riff >> 16);
  return out;
}

std::vector<uint8_t> Concat(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

int NotesOn(const MidiSong& song) {
  int count = 0;
  for (const MidiEvent& event : song.events) count += event.Kind() == 0x90 && event.data2 > 0;
  return count;
}

TEST(DamagedMidi, EachKindPlaysWhatIsThereAndSaysWhatWasMended) {
  std::vector<uint8_t> more_tracks = Whole();
  more_tracks[11] = 5;  // the header counts five tracks
  std::vector<uint8_t> unknown_chunk = BuildSmf(1, 96, {TrackBuilder().Tempo(0, 500000).End()});
  PutChunk(unknown_chunk, "XFIH", {1, 2, 3});
  PutChunk(unknown_chunk, "MTrk",
           TrackBuilder().Note(0, 0, 60, 96).Note(0, 0, 62, 96).End().Data());
  unknown_chunk[11] = 2;
  std::vector<uint8_t> cut = Whole();
  cut.resize(cut.size() - 10);  // inside the second note's start
  std::vector<uint8_t> long_length = Whole();
  long_length[14 + 7] += 2;  // the first track claims two bytes of the next header
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    int notes;
    const char* repair;  // empty: nothing to say
  } cases[] = {
      {"whole", Whole(), 2, ""},
      {"no end of track", WithoutLastEnd(), 2, "トラック 2: トラックの終わり (FF 2F) がありません"},
      {"cut inside the last track", cut, 1, "ファイルが途中で切れています"},
      {"more tracks counted than held", more_tracks, 2, "トラックが 2 個しかありません"},
      {"RIFF RMID", Riff(Whole()), 2, ""},
      {"junk after the last track", Concat(Whole(), {0, 0, 0, 'j', 'u', 'n', 'k'}), 2, ""},
      {"an unknown chunk", unknown_chunk, 2, ""},
      {"a track length too long", long_length, 2, "チャンクの長さが合いません"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const MidiSong song = ParseMidi(c.bytes);
    EXPECT_EQ(NotesOn(song), c.notes);
    EXPECT_EQ(song.length_sixteenths > 0, true);
    if (*c.repair == '\0') {
      EXPECT_THAT(song.repairs, ::testing::IsEmpty());
    } else {
      ASSERT_FALSE(song.repairs.empty());
      EXPECT_THAT(song.repairs.front(), ::testing::HasSubstr(c.repair));
    }
  }
}

}  // namespace
