#pragma once

#include <cstdint>
#include <optional>

#include "document/event_table.h"

// The length in sixteenth notes of the table's song, read from its MIDI file: MidiPath, or,
// when that names the project file (.vwm), the MIDI file of the same base name beside it
// (extension mid or MID). Nothing when no such file can be read.
std::optional<int32_t> SongLength(const EventTable& table);
