#include "song/clock_rule.h"

#include <algorithm>

namespace {

// The song time at `now` as if there were no loop.
int64_t Unwrapped(const ClockRule& rule, int64_t now) {
  return rule.anchor_song + std::max<int64_t>(now - rule.anchor_now, 0) * rule.speed_percent / 100;
}

}  // namespace

int64_t ClockRule::SongAt(int64_t now) const {
  const int64_t song = Unwrapped(*this, now);
  if (!Loops() || song < loop_to) return song;
  return loop_from + (song - loop_to) % (loop_to - loop_from);
}

int64_t ClockRule::WrapsAt(int64_t now) const {
  const int64_t song = Unwrapped(*this, now);
  if (!Loops() || song < loop_to) return 0;
  return (song - loop_to) / (loop_to - loop_from) + 1;
}

int64_t ClockRule::RealMicros(int64_t song_micros) const {
  return (std::max<int64_t>(song_micros, 0) * 100 + speed_percent - 1) / speed_percent;
}
