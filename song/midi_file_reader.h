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

// Songs that play longer than this (in real time, through their tempo changes) are refused: no
// real song lasts hours, and a damaged delta time or tempo would otherwise have every program
// plan hours or years of show, sound and video.
inline constexpr int64_t kMaxSongMicros = int64_t{2} * 60 * 60 * 1000000;

// Reads a Standard MIDI File of format 0 or 1 with a metrical division, also inside a RIFF
// RMID file. Every length is checked against the file. What common players play is played:
// a track without its end, a file cut short, fewer tracks than the header counts, junk after
// the tracks, unknown chunks; what was mended is listed in MidiSong::repairs. Files of format
// 2, with SMPTE time, with a broken header, with no readable track or longer than
// kMaxSongMicros (the message names the length) throw MidiFileError. Allocation is bounded by
// the size of the input, and time by it too: the length comes from the tempo map, not from
// walking the ticks.
MidiSong ParseMidi(std::span<const uint8_t> bytes);

// Reads and parses the file at a UTF-8 path through the regular-file reader, so that a named
// pipe or a device is refused at once instead of blocking. A folder, anything else that is not
// a regular file, an empty file, a file that cannot be read and a file larger than
// kMaxMidiFileSize throw MidiFileError too, with the system's reason (SystemReason(): ENOENT
// for a missing file, EISDIR for a folder) where there is one.
MidiSong ReadMidiFile(const std::string& path);
