#include "song/tempo_map.h"

#include <algorithm>

namespace {

// 128-bit intermediates: ticks x tempo x division would overflow 64 bits on long songs.
using Wide = __int128;

int64_t CeilDiv(Wide num, Wide den) { return static_cast<int64_t>((num + den - 1) / den); }

}  // namespace

TempoMap::TempoMap(int64_t division, const std::vector<Change>& changes)
    : division_(std::max<int64_t>(division, 1)) {
  segments_.push_back({0, 0, kDefaultTempo});
  for (const Change& change : changes) {
    const int64_t tick = std::max(change.tick, segments_.back().tick);  // kept in order
    const int64_t tempo = std::max<int64_t>(change.tempo, 1);
    if (tick == segments_.back().tick) {
      segments_.back().tempo = tempo;
    } else {
      segments_.push_back({tick, MicrosAtQuarterTicks(tick * 4), tempo});
    }
  }
}

int64_t TempoMap::MicrosAtQuarterTicks(int64_t quarter_ticks) const {
  quarter_ticks = std::max<int64_t>(quarter_ticks, 0);
  auto after = std::upper_bound(
      segments_.begin(), segments_.end(), quarter_ticks,
      [](int64_t value, const Segment& segment) { return value < segment.tick * 4; });
  const Segment& segment = *(after - 1);
  const Wide offset = Wide(quarter_ticks - segment.tick * 4) * segment.tempo;
  return segment.micros + CeilDiv(offset, Wide(4) * division_);
}

int64_t TempoMap::MicrosAtTick(int64_t tick) const { return MicrosAtQuarterTicks(tick * 4); }

int64_t TempoMap::MicrosAtSixteenth(int64_t sixteenth) const {
  return MicrosAtQuarterTicks(sixteenth * division_);
}

int64_t TempoMap::SixteenthAtMicros(int64_t micros) const {
  if (micros <= 0) return 0;
  auto after = std::upper_bound(
      segments_.begin(), segments_.end(), micros,
      [](int64_t value, const Segment& segment) { return value < segment.micros; });
  const Segment& segment = *(after - 1);
  // sixteenths = (tick + elapsed x division / tempo) x 4 / division
  const Wide num =
      Wide(segment.tick) * 4 * segment.tempo + Wide(micros - segment.micros) * division_ * 4;
  return static_cast<int64_t>(num / (Wide(division_) * segment.tempo));
}

int64_t TempoMap::TickAtMicros(int64_t micros) const {
  if (micros <= 0) return 0;
  auto after = std::upper_bound(
      segments_.begin(), segments_.end(), micros,
      [](int64_t value, const Segment& segment) { return value < segment.micros; });
  const Segment& segment = *(after - 1);
  return segment.tick +
         static_cast<int64_t>(Wide(micros - segment.micros) * division_ / segment.tempo);
}
