// Damaged MIDI files that common players play: the reader plays what is there and says what
// it mended.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "smf_builder.h"
#include "song/midi_file_reader.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Two tracks: a tempo track and one with two notes; `end` false leaves out the last track's end
// of track event, `before` puts an unknown chunk in front of it; `change` then damages the bytes.
Bytes Song(const std::function<void(Bytes&)>& change = {}, bool end = true,
           const char* before = nullptr) {
  Bytes bytes = BuildSmf(1, 96, {TrackBuilder().Tempo(0, 500000).End()});
  if (before != nullptr) PutChunk(bytes, before, {1, 2, 3});
  TrackBuilder notes;
  notes.Note(0, 0, 60, 96).Note(0, 0, 62, 96);
  if (end) notes.End();
  PutChunk(bytes, "MTrk", notes.Data());
  bytes[11] = 2;
  if (change) change(bytes);
  return bytes;
}

Bytes Riff(const Bytes& smf) {
  Bytes out = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'R', 'M', 'I', 'D'};
  const uint32_t size = static_cast<uint32_t>(smf.size());
  out.insert(out.end(), {'d', 'a', 't', 'a', uint8_t(size), uint8_t(size >> 8), uint8_t(size >> 16),
                         uint8_t(size >> 24)});
  out.insert(out.end(), smf.begin(), smf.end());
  const uint32_t riff = static_cast<uint32_t>(out.size() - 8);
  out[4] = uint8_t(riff), out[5] = uint8_t(riff >> 8), out[6] = uint8_t(riff >> 16);
  return out;
}

int NotesOn(const MidiSong& song) {
  int count = 0;
  for (const MidiEvent& event : song.events) count += event.Kind() == 0x90 && event.data2 > 0;
  return count;
}

TEST(DamagedMidi, EachKindPlaysWhatIsThereAndSaysWhatWasMended) {
  struct Case {
    const char* name;
    Bytes bytes;
    int notes;
    const char* repair;  // empty: nothing to say
  } cases[] = {
      {"whole", Song(), 2, ""},
      {"no end of track", Song({}, false), 2, "トラック 2: トラックの終わり (FF 2F) がありません"},
      {"cut inside the last track", Song([](Bytes& b) { b.resize(b.size() - 10); }), 1,
       "ファイルが途中で切れています"},
      {"more tracks counted than held", Song([](Bytes& b) { b[11] = 5; }), 2,
       "トラックが 2 個しかありません"},
      {"RIFF RMID", Riff(Song()), 2, ""},
      {"junk after the last track", Song([](Bytes& b) {
         b.insert(b.end(), {0, 0, 0, 'j', 'u', 'n', 'k'});
       }),
       2, ""},
      {"an unknown chunk", Song({}, true, "XFIH"), 2, ""},
      // The first track claims two bytes of the next header.
      {"a track length too long", Song([](Bytes& b) { b[14 + 7] += 2; }), 2,
       "チャンクの長さが合いません"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const MidiSong song = ParseMidi(c.bytes);
    EXPECT_EQ(NotesOn(song), c.notes);
    EXPECT_GT(song.length_sixteenths, 0);
    if (*c.repair == '\0') {
      EXPECT_THAT(song.repairs, ::testing::IsEmpty());
    } else {
      ASSERT_FALSE(song.repairs.empty());
      EXPECT_THAT(song.repairs.front(), ::testing::HasSubstr(c.repair));
    }
  }
}

}  // namespace
