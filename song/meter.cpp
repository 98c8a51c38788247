#include "song/meter.h"

#include <algorithm>
#include <bit>

Meter::Meter(int64_t division, const std::vector<Signature>& changes) {
  division = std::max<int64_t>(division, 1);
  auto beat_ticks = [division](int denominator) {
    return std::max<int64_t>(division * 4 / denominator, 1);
  };
  segments_.push_back({0, 1, beat_ticks(4), 4});
  for (const Signature& change : changes) {
    const bool valid = change.numerator >= 1 && change.numerator <= 255 &&
                       change.denominator >= 1 && change.denominator <= 64 &&
                       std::has_single_bit(static_cast<unsigned>(change.denominator));
    if (!valid) continue;
    Segment& last = segments_.back();
    const int64_t tick = std::max(change.tick, last.tick);
    if (tick == last.tick) {
      last.beat_ticks = beat_ticks(change.denominator);
      last.numerator = change.numerator;
      continue;
    }
    const int64_t bar_ticks = last.beat_ticks * last.numerator;
    const int64_t bars = (tick - last.tick + bar_ticks - 1) / bar_ticks;
    segments_.push_back(
        {tick, last.first_bar + bars, beat_ticks(change.denominator), change.numerator});
  }
}

const Meter::Segment& Meter::SegmentAt(int64_t tick) const {
  auto after =
      std::upper_bound(segments_.begin(), segments_.end(), tick,
                       [](int64_t value, const Segment& segment) { return value < segment.tick; });
  return *(after - 1);
}

int64_t Meter::NextBeatTick(int64_t beat_tick) const {
  // The next beat, or the start of the next segment when that comes first.
  auto after =
      std::upper_bound(segments_.begin(), segments_.end(), beat_tick,
                       [](int64_t value, const Segment& segment) { return value < segment.tick; });
  const int64_t next = beat_tick + (after - 1)->beat_ticks;
  return after == segments_.end() ? next : std::min(next, after->tick);
}

Meter::Beat Meter::At(int64_t tick) const {
  tick = std::max<int64_t>(tick, 0);
  const Segment& segment = SegmentAt(tick);
  const int64_t beats = (tick - segment.tick) / segment.beat_ticks;
  return {segment.tick + beats * segment.beat_ticks,
          static_cast<int>(segment.first_bar + beats / segment.numerator),
          static_cast<int>(beats % segment.numerator + 1)};
}

std::vector<Meter::Beat> Meter::Beats(int64_t from, int64_t to, size_t limit) const {
  std::vector<Beat> beats;
  Beat beat = At(from);
  if (beat.tick < std::max<int64_t>(from, 0)) beat = At(NextBeatTick(beat.tick));
  while (beat.tick < to && beats.size() < limit) {
    beats.push_back(beat);
    beat = At(NextBeatTick(beat.tick));
  }
  return beats;
}
