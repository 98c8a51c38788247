#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "song/midi_song.h"

// How a track ended: at its end of track event, or early where it broke off.
struct TrackEnd {
  uint32_t tick = 0;    // of the end of track event, or of the last event read
  size_t events = 0;    // events read, the end of track included
  std::string problem;  // empty: the track was whole; otherwise what broke it off, and where
};

// Reads the events of one MTrk chunk's data and appends them to `events` (with absolute ticks)
// and their sysex and meta bytes to `payload`. `file_offset` is the data's offset in the file
// and `track` the track's index from 0, both for the messages. Running status is honoured
// after channel messages only; sysex and meta events cancel it. A track that runs out before
// its end of track event, or holds something malformed (including a tick beyond `max_tick`),
// keeps the events before that point: players play what is there.
TrackEnd ReadTrack(std::span<const uint8_t> data, size_t file_offset, uint16_t track,
                   uint32_t max_tick, std::vector<MidiEvent>* events,
                   std::vector<uint8_t>* payload);
