#include "checks/song_length.h"

#include <cerrno>
#include <string>
#include <vector>

#include "document/names.h"
#include "song/midi_file_reader.h"
#include "text/cp932.h"

SongRead ReadSong(const EventTable& table) {
  std::vector<std::string> candidates;
  if (SameNameIgnoringCase(FileNamePart(table.MidiPath), table.BaseName + "vwm")) {
    candidates = {table.MidiFolder + table.BaseName + "mid",
                  table.MidiFolder + table.BaseName + "MID"};
  } else {
    candidates = {table.MidiPath};
  }
  SongRead read;
  for (const std::string& path : candidates) {
    const std::string file = Cp932ToUtf8(path);
    try {
      read.Length = ReadMidiFile(file).length_sixteenths;
      read.Refusal.clear();
      return read;
    } catch (const MidiFileError& error) {
      // Not there: the next candidate, or no length. There but refused: said, unless another
      // candidate is read.
      const bool absent = error.SystemReason() == ENOENT || error.SystemReason() == ENOTDIR;
      if (!absent && read.Refusal.empty()) read.Refusal = file + ": " + error.what();
    }
  }
  return read;
}
