#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "song/midi_song.h"

// The chunk id of the track-like karaoke chunk that some Japanese files put after their tracks:
// its data is events like a track's.
inline constexpr char kKaraokeChunk[] = "XFKM";

// Reads the meta events of one karaoke chunk's data (at `file_offset` in the file) into
// song->karaoke_events, numbered as a track after the song's `tracks`. What cannot be read is
// left out: the chunk never makes a song unplayable.
void ReadKaraokeChunk(std::span<const uint8_t> data, size_t file_offset, uint16_t tracks,
                      MidiSong* song);

// Reads the karaoke chunks among the whole chunks from `offset` on; stops at the first bytes
// that are no whole chunk.
void ReadKaraokeChunksAfter(std::span<const uint8_t> bytes, size_t offset, uint16_t tracks,
                            MidiSong* song);
