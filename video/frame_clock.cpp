#include "video/frame_clock.h"

#include <algorithm>

#include "song/wrd_time.h"

namespace {

constexpr int64_t kMicrosPerSecond = 1000000;

}  // namespace

FrameClock::FrameClock(const TempoMap& tempo, int fps)
    : tempo_(tempo), fps_(std::clamp(fps, kMinFps, kMaxFps)) {}

int64_t FrameClock::MicrosOfFrame(int64_t frame) const {
  return (frame * kMicrosPerSecond + fps_ - 1) / fps_;
}

int64_t FrameClock::WrdTickOfFrame(int64_t frame) const {
  return WrdTickAtMicros(tempo_, MicrosOfFrame(frame));
}
