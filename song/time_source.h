#pragma once

#include <cstdint>

// A monotonic clock in microseconds. The player reads the time only through this interface, so
// tests can set it exactly. Implementations must be safe to call from several threads.
class TimeSource {
 public:
  virtual ~TimeSource() = default;
  virtual int64_t NowMicros() const = 0;
};

// The system's steady clock.
class SteadyTimeSource : public TimeSource {
 public:
  int64_t NowMicros() const override;
};
