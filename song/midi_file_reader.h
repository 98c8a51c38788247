#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

#include "errors/error.h"
#include "song/midi_song.h"

// A MIDI file that cannot be played; what() says what is wrong and where (a byte offset from
// the start of the file), in UTF-8, without the file's path.
class MidiFileError : public VwrdError {
 public:
  using VwrdError::VwrdError;
};

// Files larger than this are refused before they are read.
inline constexpr size_t kMaxMidiFileSize = 16 * 1024 * 1024;

// Reads a Standard MIDI File of format 0 or 1 with a metrical division, also inside a RIFF
// RMID file. Every length is checked against the file. What common players play is played:
// a track without its end, a file cut short, fewer tracks than the header counts, junk after
// the tracks, unknown chunks; what was mended is listed in MidiSong::repairs. Files of format
// 2, with SMPTE time, with a broken header or with no readable track throw MidiFileError.
// Allocation is bounded by the size of the input.
MidiSong ParseMidi(std::span<const uint8_t> bytes);

// Reads and parses the file at a UTF-8 path. A folder, an empty file, a file that cannot be
// read and a file larger than kMaxMidiFileSize throw MidiFileError too.
MidiSong ReadMidiFile(const std::string& path);
