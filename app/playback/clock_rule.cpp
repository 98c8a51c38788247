#include "app/playback/clock_rule.h"

#include <algorithm>

int64_t ClockRule::SongAt(int64_t now) const {
  const int64_t elapsed = std::max<int64_t>(now - anchor_now, 0) * speed_percent / 100;
  const int64_t song = anchor_song + elapsed;
  if (!Loops() || song < loop_to) return song;
  return loop_from + (song - loop_to) % (loop_to - loop_from);
}

int64_t ClockRule::RealMicros(int64_t song_micros) const {
  return (std::max<int64_t>(song_micros, 0) * 100 + speed_percent - 1) / speed_percent;
}
