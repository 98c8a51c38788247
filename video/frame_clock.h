#pragma once

#include <cstdint>

#include "song/tempo_map.h"

// The times of a video's frames: frame n shows the song at n / fps seconds, and the show at the
// WRD tick of that time.
class FrameClock {
 public:
  static constexpr int kMinFps = 1;
  static constexpr int kMaxFps = 120;

  // `fps` is clamped to kMinFps..kMaxFps. The tempo map must outlive the clock.
  FrameClock(const TempoMap& tempo, int fps);

  int Fps() const { return fps_; }
  // The song time of a frame, rounded up to a microsecond as the tempo map rounds the times of
  // ticks, so that a frame at a tick's exact time shows that tick.
  int64_t MicrosOfFrame(int64_t frame) const;
  int64_t WrdTickOfFrame(int64_t frame) const;

 private:
  const TempoMap& tempo_;
  int fps_;
};
