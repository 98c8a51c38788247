#pragma once

#include <cstdint>
#include <memory>

#include "song/clock_rule.h"
#include "song/tempo_map.h"
#include "song/time_source.h"

// The song position over a tempo map, driven by a time source. Positions are in sixteenth notes
// from 0 to the length; song time is in microseconds from the start of the song. While playing
// the position is the one being heard: `latency` (the audio output's delay) behind the sequencer.
// It follows the time source at the chosen speed, wraps inside a loop, and at the end of the
// song stops there by itself (IsPlaying() turns false, the position stays at the length).
// Not thread-safe: one thread drives it.
class SongClock {
 public:
  SongClock(std::shared_ptr<const TimeSource> time, TempoMap tempo, int32_t length,
            int64_t latency = 0);

  int32_t Length() const { return length_; }
  int32_t Position() const;
  bool IsPlaying() const;
  // The song time being heard now (clamped to the end while playing).
  int64_t SongMicros() const;
  int64_t EndMicros() const { return end_micros_; }

  // Runs from the current position; at the end it first rewinds to the start.
  void Play();
  // Stops and keeps the position heard (the exact song time, so that playing on continues
  // there).
  void Stop();
  // Moves to a position clamped to 0 .. Length(); a running clock runs on from there.
  void Seek(int32_t position);
  // 25 .. 100: song time per real time, in percent. Positions stay in song time.
  void SetSpeed(int percent);
  int Speed() const { return rule_.speed_percent; }
  // Loops the song time from .. to (clamped into the song); from >= to: no loop.
  void SetLoop(int64_t from, int64_t to);

  // While running, the song time the sequencer plays (not yet heard) is Rule().SongAt(now):
  // what a playback thread needs to follow the clock on its own.
  const ClockRule& Rule() const { return rule_; }

 private:
  int64_t Now() const;
  // Moves the anchor to now without a jump, so that a new speed or loop starts here.
  void Reanchor();

  std::shared_ptr<const TimeSource> time_;
  TempoMap tempo_;
  int32_t length_;
  int64_t end_micros_;
  int64_t latency_;

  bool running_ = false;
  ClockRule rule_;                  // anchor_song is the stopped song time while not running
  mutable int64_t latest_now_ = 0;  // a time source that steps back is held at its latest value
};
