#include "song/tap_position.h"

#include <algorithm>
#include <cstdlib>

int64_t NearestSixteenth(const TempoMap& tempo, int64_t micros) {
  if (micros <= 0) return 0;
  const int64_t before = tempo.SixteenthAtMicros(micros);
  const int64_t from = tempo.MicrosAtSixteenth(before);
  const int64_t to = tempo.MicrosAtSixteenth(before + 1);
  return (micros - from) * 2 >= to - from ? before + 1 : before;
}

int64_t TapSixteenth(const TempoMap& tempo, int64_t heard_micros, const TapRule& rule) {
  const int64_t micros =
      std::max<int64_t>(heard_micros - rule.delay_micros * rule.speed_percent / 100, 0);
  if (!rule.note_ticks.empty()) {
    const int64_t division = tempo.Division();
    const int64_t tick = tempo.TickAtMicros(micros);
    auto after = std::lower_bound(rule.note_ticks.begin(), rule.note_ticks.end(), tick);
    int64_t best = -1;
    if (after != rule.note_ticks.end()) best = *after;
    if (after != rule.note_ticks.begin() && (best < 0 || tick - *(after - 1) <= best - tick)) {
      best = *(after - 1);
    }
    // Within an eighth note (half a quarter) of the tap, in ticks.
    if (best >= 0 && std::abs(best - tick) * 2 <= division) {
      return (best * 8 + division) / (2 * division);  // ticks to sixteenths, rounded
    }
  }
  return NearestSixteenth(tempo, micros);
}

std::vector<int64_t> NoteStartTicks(const MidiSong& song, int channel) {
  std::vector<int64_t> ticks;
  for (const MidiEvent& event : song.events) {
    if (event.IsChannel() && event.Kind() == 0x90 && event.data2 > 0 &&
        event.Channel() == channel) {
      ticks.push_back(event.tick);
    }
  }
  return ticks;
}
