#include "song/time_source.h"

#include <chrono>

int64_t SteadyTimeSource::NowMicros() const {
  return std::chrono::duration_cast<std::chrono::microseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}
