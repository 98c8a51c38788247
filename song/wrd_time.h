#pragma once

#include <cstdint>

#include "song/tempo_map.h"

// The WRD tick at a song time: 48 ticks per quarter note, taken from the song's MIDI ticks (not
// rounded to sixteenths).
inline int64_t WrdTickAtMicros(const TempoMap& tempo, int64_t micros) {
  return tempo.TickAtMicros(micros) * 48 / tempo.Division();
}
