#pragma once

#include <cstdint>
#include <optional>
#include <vector>

// The reaction delay from a short calibration: the user taps along with clicks of a steady
// beat. Each tap counts for the click nearest to it (within half a beat, one tap per click);
// the median lateness is the delay. Times are microseconds of one clock.
class Calibration {
 public:
  static constexpr int kClicks = 8;
  static constexpr int kMinTaps = 4;  // fewer taps tell too little

  explicit Calibration(int64_t beat_micros) : beat_micros_(beat_micros) {}

  // When a click was heard (sent plus the output's latency).
  void Click(int64_t when) { clicks_.push_back(when); }
  void Tap(int64_t when) { taps_.push_back(when); }
  int Clicks() const { return static_cast<int>(clicks_.size()); }

  // The median lateness in milliseconds (rounded), or nothing with fewer than kMinTaps taps
  // matched to clicks.
  std::optional<int> DelayMs() const;

 private:
  int64_t beat_micros_;
  std::vector<int64_t> clicks_;
  std::vector<int64_t> taps_;
};
