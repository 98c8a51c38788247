#pragma once

#include <cstdint>
#include <vector>

// Converts between ticks, sixteenth notes and song time (microseconds from the start) over the
// tempo changes of a song. Times of ticks and sixteenths are rounded up to whole microseconds,
// the same way for both, so an event at the tick of a sixteenth has that sixteenth's time, and
// the sixteenth at a position's time is that position again.
class TempoMap {
 public:
  static constexpr int64_t kDefaultTempo = 500000;  // microseconds per quarter note (120 BPM)

  struct Change {
    int64_t tick = 0;
    int64_t tempo = kDefaultTempo;  // microseconds per quarter note, at least 1
  };

  TempoMap() : TempoMap(96, {}) {}
  // `changes` sorted by tick; at equal ticks the last one counts. Before the first change the
  // tempo is 120 BPM. `division` is ticks per quarter note, at least 1.
  TempoMap(int64_t division, const std::vector<Change>& changes);

  int64_t Division() const { return division_; }
  int64_t MicrosAtTick(int64_t tick) const;
  // The MIDI tick playing at a song time (rounded down); 0 before the start.
  int64_t TickAtMicros(int64_t micros) const;
  int64_t MicrosAtSixteenth(int64_t sixteenth) const;
  // The sixteenth note playing at a song time (rounded down); 0 before the start.
  int64_t SixteenthAtMicros(int64_t micros) const;

 private:
  struct Segment {
    int64_t tick;
    int64_t micros;
    int64_t tempo;
  };
  // The time of tick quarter_ticks / 4.
  int64_t MicrosAtQuarterTicks(int64_t quarter_ticks) const;

  int64_t division_;
  std::vector<Segment> segments_;  // the first starts at tick 0
};
