#pragma once

#include <cstdint>
#include <vector>

#include "song/midi_song.h"
#include "song/tempo_map.h"

// Where a tap lands: the song time heard at the press, less the user's reaction delay, as a
// sixteenth note (rounded to the nearest), or at the nearest note start of one channel.
struct TapRule {
  int64_t delay_micros = 0;  // real time; at a lower speed it covers less song time
  int speed_percent = 100;
  // MIDI ticks of the note starts to snap to (sorted), or empty: no snapping. A note start
  // within an eighth note of the tap takes it.
  std::vector<int64_t> note_ticks;
};

// The sixteenth note nearest to a song time (halfway rounds up); 0 before the start.
int64_t NearestSixteenth(const TempoMap& tempo, int64_t micros);

// The sixteenth a tap heard at song time `heard_micros` stands for.
int64_t TapSixteenth(const TempoMap& tempo, int64_t heard_micros, const TapRule& rule);

// The ticks of the note starts (note-on with a velocity) of a channel 0 .. 15, in order.
std::vector<int64_t> NoteStartTicks(const MidiSong& song, int channel);
