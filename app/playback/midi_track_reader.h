#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "app/playback/midi_song.h"

// Reads the events of one MTrk chunk's data and appends them to `events` (with absolute ticks)
// and their sysex and meta bytes to `payload`. `file_offset` is the data's offset in the file
// and `track` the track's index from 0, both for the messages. Running status is honoured
// after channel messages only; sysex and meta events cancel it. Returns the tick of the end of
// track event, which must be there. Throws MidiFileError on anything malformed, including a
// tick beyond `max_tick`.
uint32_t ReadTrack(std::span<const uint8_t> data, size_t file_offset, uint16_t track,
                   uint32_t max_tick, std::vector<MidiEvent>* events,
                   std::vector<uint8_t>* payload);
