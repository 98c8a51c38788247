#include "song/calibration.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

std::optional<int> Calibration::DelayMs() const {
  std::vector<int64_t> lateness;
  std::vector<bool> taken(clicks_.size(), false);
  for (const int64_t tap : taps_) {
    int best = -1;
    for (size_t i = 0; i < clicks_.size(); ++i) {
      if (std::abs(tap - clicks_[i]) * 2 > beat_micros_) continue;
      if (best < 0 || std::abs(tap - clicks_[i]) < std::abs(tap - clicks_[best])) {
        best = static_cast<int>(i);
      }
    }
    if (best < 0 || taken[best]) continue;  // a stray tap, or a second one for a click
    taken[best] = true;
    lateness.push_back(tap - clicks_[best]);
  }
  if (static_cast<int>(lateness.size()) < kMinTaps) return std::nullopt;
  std::sort(lateness.begin(), lateness.end());
  const size_t n = lateness.size();
  const double median =
      n % 2 ? double(lateness[n / 2]) : (double(lateness[n / 2 - 1]) + double(lateness[n / 2])) / 2;
  return static_cast<int>(std::lround(median / 1000));
}
