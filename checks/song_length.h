#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "document/event_table.h"

// The table's song as the checks need it: its length, or why its MIDI file was refused.
struct SongRead {
  std::optional<int32_t> Length;  // in sixteenth notes, when the song was read
  // "<path>: <reason>" (UTF-8) when a MIDI file is there but was refused (no regular file, no
  // song, too long); empty when the song was read or there is none.
  std::string Refusal;
};

// Reads the table's song: MidiPath, or, when that names the project file (.vwm), the MIDI file
// of the same base name beside it (extension mid or MID). A missing file is no refusal: the
// song need not be there to build its show.
SongRead ReadSong(const EventTable& table);
