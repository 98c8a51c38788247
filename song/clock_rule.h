#pragma once

#include <cstdint>

// How song time follows the real clock while a song runs: from an anchor, at a speed, wrapping
// inside a loop. The song clock and the playback thread share one rule, so what is shown and
// what is heard never drift apart.
struct ClockRule {
  int64_t anchor_song = 0;  // song time (microseconds) at anchor_now
  int64_t anchor_now = 0;   // time source reading
  int speed_percent = 100;  // song microseconds per 100 real microseconds
  // A loop when loop_from < loop_to and the anchor lies before loop_to: reaching loop_to goes
  // on at loop_from without a gap.
  int64_t loop_from = 0;
  int64_t loop_to = 0;

  bool Loops() const { return loop_from < loop_to && anchor_song < loop_to; }
  // The song time at reading `now`; never before the anchor (a reading before it counts as it).
  int64_t SongAt(int64_t now) const;
  // How many times the song has wrapped at the loop's end by reading `now`.
  int64_t WrapsAt(int64_t now) const;
  // Real microseconds until the song advances by `song_micros` (rounded up).
  int64_t RealMicros(int64_t song_micros) const;
};
