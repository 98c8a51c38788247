#include "app/playback/song_clock.h"

#include <algorithm>
#include <utility>

SongClock::SongClock(std::shared_ptr<const TimeSource> time, TempoMap tempo, int32_t length)
    : time_(std::move(time)),
      tempo_(std::move(tempo)),
      length_(std::max(length, 0)),
      end_micros_(tempo_.MicrosAtSixteenth(length_)) {
  latest_now_ = time_->NowMicros();
}

int64_t SongClock::Now() const {
  latest_now_ = std::max(latest_now_, time_->NowMicros());
  return latest_now_;
}

int64_t SongClock::RunningMicros(int64_t now) const {
  return anchor_micros_ + std::max<int64_t>(now - anchor_now_, 0);
}

int64_t SongClock::SongMicros() const {
  if (!running_) return anchor_micros_;
  return std::min(RunningMicros(Now()), end_micros_);
}

bool SongClock::IsPlaying() const { return running_ && RunningMicros(Now()) < end_micros_; }

int32_t SongClock::Position() const {
  if (!running_) return anchor_position_;
  const int64_t micros = RunningMicros(Now());
  if (micros >= end_micros_) return length_;
  const int64_t position = std::max<int64_t>(tempo_.SixteenthAtMicros(micros), anchor_position_);
  return static_cast<int32_t>(std::min<int64_t>(position, length_));
}

void SongClock::Play() {
  if (IsPlaying()) return;
  if (running_) Stop();  // ran to the end by itself
  if (anchor_position_ >= length_) Seek(0);
  running_ = true;
  anchor_now_ = Now();
}

void SongClock::Stop() {
  if (!running_) return;
  const int32_t position = Position();
  anchor_micros_ = SongMicros();
  anchor_position_ = position;
  running_ = false;
}

void SongClock::Seek(int32_t position) {
  if (running_ && !IsPlaying()) Stop();  // ran to the end by itself: it stays stopped
  anchor_position_ = std::clamp(position, 0, length_);
  anchor_micros_ = tempo_.MicrosAtSixteenth(anchor_position_);
  anchor_now_ = Now();
}
