#pragma once

#include <atomic>
#include <cstdint>

#include "song/time_source.h"

// A clock the test sets by hand; the playback thread may read it at any time.
class FakeTimeSource : public TimeSource {
 public:
  int64_t NowMicros() const override { return now_.load(); }
  void Advance(int64_t micros) { now_ += micros; }
  void Set(int64_t micros) { now_ = micros; }

 private:
  std::atomic<int64_t> now_{1000000000};
};
