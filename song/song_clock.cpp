#include "song/song_clock.h"

#include <algorithm>
#include <utility>

SongClock::SongClock(std::shared_ptr<const TimeSource> time, TempoMap tempo, int32_t length,
                     int64_t latency)
    : time_(std::move(time)),
      tempo_(std::move(tempo)),
      length_(std::max(length, 0)),
      end_micros_(tempo_.MicrosAtSixteenth(length_)),
      latency_(std::max<int64_t>(latency, 0)) {
  latest_now_ = time_->NowMicros();
}

int64_t SongClock::Now() const {
  latest_now_ = std::max(latest_now_, time_->NowMicros());
  return latest_now_;
}

int64_t SongClock::SongMicros() const {
  if (!running_) return rule_.anchor_song;
  return std::min(rule_.SongAt(Now() - latency_), end_micros_);
}

bool SongClock::IsPlaying() const { return running_ && SongMicros() < end_micros_; }

int32_t SongClock::Position() const {
  const int64_t position = tempo_.SixteenthAtMicros(SongMicros());
  return static_cast<int32_t>(std::min<int64_t>(position, length_));
}

void SongClock::Play() {
  if (IsPlaying()) return;
  if (running_) Stop();  // ran to the end by itself
  if (rule_.anchor_song >= end_micros_) Seek(0);
  running_ = true;
  rule_.anchor_now = Now();
}

void SongClock::Stop() {
  if (!running_) return;
  rule_.anchor_song = SongMicros();
  running_ = false;
}

void SongClock::Seek(int32_t position) {
  if (running_ && !IsPlaying()) Stop();  // ran to the end by itself: it stays stopped
  rule_.anchor_song = tempo_.MicrosAtSixteenth(std::clamp(position, 0, length_));
  rule_.anchor_now = Now();
}

void SongClock::Reanchor() {
  if (!running_) return;
  const int64_t now = Now();
  rule_.anchor_song = std::min(rule_.SongAt(now), end_micros_);
  rule_.anchor_now = now;
}

void SongClock::SetSpeed(int percent) {
  Reanchor();
  rule_.speed_percent = std::clamp(percent, 25, 100);
}

void SongClock::SetLoop(int64_t from, int64_t to) {
  Reanchor();
  rule_.loop_from = std::clamp<int64_t>(from, 0, end_micros_);
  rule_.loop_to = std::clamp<int64_t>(to, 0, end_micros_);
}
