#include "checks/song_length.h"

#include <string>
#include <vector>

#include "document/names.h"
#include "song/midi_file_reader.h"
#include "text/cp932.h"

std::optional<int32_t> SongLength(const EventTable& table) {
  std::vector<std::string> candidates;
  if (SameNameIgnoringCase(FileNamePart(table.MidiPath), table.BaseName + "vwm")) {
    candidates = {table.MidiFolder + table.BaseName + "mid",
                  table.MidiFolder + table.BaseName + "MID"};
  } else {
    candidates = {table.MidiPath};
  }
  for (const std::string& path : candidates) {
    try {
      return ReadMidiFile(Cp932ToUtf8(path)).length_sixteenths;
    } catch (const MidiFileError&) {
      // Not there, or not a song: the next candidate, or no length.
    }
  }
  return std::nullopt;
}
