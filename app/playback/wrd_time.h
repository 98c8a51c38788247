#pragma once

#include <cstdint>

#include "app/playback/tempo_map.h"

// The WRD tick (48 to the quarter note) at a song time: MIDI ticks scaled, not rounded to
// sixteenths.
inline int64_t WrdTickAtMicros(const TempoMap& tempo, int64_t micros) {
  return tempo.TickAtMicros(micros) * 48 / tempo.Division();
}
