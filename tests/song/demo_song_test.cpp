#include <gtest/gtest.h>

#include "song/midi_file_reader.h"

namespace {

TEST(DemoSong, TheCommittedDemoSongReadsWithItsLength) {
  const MidiSong song = ReadMidiFile(VWRD_SOURCE_DIR "/examples/demo.mid");
  EXPECT_EQ(song.format, 1);
  EXPECT_EQ(song.division, 480);
  EXPECT_EQ(song.length_sixteenths, 180);
  // Ten bars at 100 BPM, then one bar and the last chord's beat at 80 BPM.
  EXPECT_EQ(song.tempo.MicrosAtSixteenth(180), 10 * 2400000 + 5 * 750000);
}

}  // namespace
