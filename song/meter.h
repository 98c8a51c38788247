#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Bars and beats over the time signature changes of a song. A change starts a new bar at its
// tick; a bar cut short by a change still counts as a bar. Without changes the song is in 4/4.
class Meter {
 public:
  struct Signature {
    int64_t tick = 0;
    int numerator = 4;    // beats in a bar, at least 1
    int denominator = 4;  // the beat's note value: 1, 2, 4 .. 64
  };
  struct Beat {
    int64_t tick = 0;  // where the beat starts
    int bar = 1;       // from 1
    int beat = 1;      // from 1
  };

  Meter() : Meter(96, {}) {}
  // `changes` sorted by tick; at equal ticks the last one counts; invalid ones are skipped.
  // `division` is ticks per quarter note.
  Meter(int64_t division, const std::vector<Signature>& changes);

  // The beat playing at a tick (ticks before 0 count as 0).
  Beat At(int64_t tick) const;
  // The beats that start in from .. to (to excluded), at most `limit` of them.
  std::vector<Beat> Beats(int64_t from, int64_t to, size_t limit = 4096) const;

 private:
  struct Segment {
    int64_t tick;
    int64_t first_bar;
    int64_t beat_ticks;  // at least 1
    int numerator;
  };
  const Segment& SegmentAt(int64_t tick) const;
  int64_t NextBeatTick(int64_t beat_tick) const;

  std::vector<Segment> segments_;  // the first starts at tick 0
};
