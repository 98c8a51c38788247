// Feeds arbitrary bytes to the MIDI file reader: it must accept or refuse them with
// MidiFileError, never crash, and an accepted song's tempo map must agree with its length.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "song/midi_file_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MidiSong song;
  try {
    song = ParseMidi(std::span<const uint8_t>(data, size));
  } catch (const MidiFileError&) {
    return 0;
  }
  int64_t previous = 0;
  for (const MidiEvent& event : song.events) {
    if (event.tick > song.length_ticks) std::abort();
    if (uint64_t(event.data_offset) + event.data_size > song.payload.size()) std::abort();
    const int64_t micros = song.tempo.MicrosAtTick(event.tick);
    if (micros < previous) std::abort();  // time order
    previous = micros;
  }
  const int64_t end = song.tempo.MicrosAtSixteenth(song.length_sixteenths);
  if (song.tempo.SixteenthAtMicros(end) < song.length_sixteenths) std::abort();
  return 0;
}
