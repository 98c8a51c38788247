#pragma once

#include <cstdint>
#include <memory>

#include "app/playback/tempo_map.h"
#include "app/playback/time_source.h"

// The song position over a tempo map, driven by a time source. Positions are in sixteenth notes
// from 0 to the length; song time is in microseconds from the start of the song. While playing
// the position follows the time source and never runs backwards; at the end of the song the
// clock stops there by itself (IsPlaying() turns false, the position stays at the length).
// Not thread-safe: one thread drives it.
class SongClock {
 public:
  SongClock(std::shared_ptr<const TimeSource> time, TempoMap tempo, int32_t length);

  int32_t Length() const { return length_; }
  int32_t Position() const;
  bool IsPlaying() const;
  // The song time now (clamped to the end while playing).
  int64_t SongMicros() const;

  // Runs from the current position; at the end it first rewinds to the start.
  void Play();
  // Stops and keeps the position (the exact song time, so that playing on continues there).
  void Stop();
  // Moves to a position clamped to 0 .. Length(); a running clock runs on from there.
  void Seek(int32_t position);

  // While running, the song time is AnchorSongMicros() + (now - AnchorNow()): what a playback
  // thread needs to follow the clock on its own.
  int64_t AnchorNow() const { return anchor_now_; }
  int64_t AnchorSongMicros() const { return anchor_micros_; }

 private:
  int64_t Now() const;
  // The song time reached at `now`, not clamped; only meaningful while running.
  int64_t RunningMicros(int64_t now) const;

  std::shared_ptr<const TimeSource> time_;
  TempoMap tempo_;
  int32_t length_;
  int64_t end_micros_;

  bool running_ = false;
  int32_t anchor_position_ = 0;     // the position when the clock started or was stopped or seeked
  int64_t anchor_micros_ = 0;       // the song time then
  int64_t anchor_now_ = 0;          // the time source reading then (while running)
  mutable int64_t latest_now_ = 0;  // a time source that steps back is held at its latest value
};
