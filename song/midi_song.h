#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "song/meter.h"
#include "song/tempo_map.h"

// One event of a Standard MIDI File at its absolute tick.
struct MidiEvent {
  static constexpr uint8_t kSysEx = 0xF0;        // data: the bytes after F0 (usually ending F7)
  static constexpr uint8_t kSysExEscape = 0xF7;  // data: the bytes after F7
  static constexpr uint8_t kMeta = 0xFF;         // data1: the meta type; data: its bytes

  uint32_t tick = 0;
  uint8_t status = 0;  // 0x80..0xEF for channel messages, or one of the three above
  uint8_t data1 = 0;
  uint8_t data2 = 0;
  uint16_t track = 0;        // from 0, in file order
  uint32_t data_offset = 0;  // into MidiSong::payload
  uint32_t data_size = 0;

  bool IsChannel() const { return status < 0xF0; }
  uint8_t Channel() const { return status & 0x0F; }
  uint8_t Kind() const { return status & 0xF0; }
};

// A parsed MIDI file: the events of every track merged in time order (events at the same tick
// keep track order, then file order), the tempo map and the length.
struct MidiSong {
  uint16_t format = 0;
  uint16_t division = 0;  // ticks per quarter note
  std::vector<MidiEvent> events;
  std::vector<uint8_t> payload;  // the bytes of sysex and meta events
  // The meta events of the track-like karaoke chunks ("XFKM") some files carry besides their
  // tracks, kept apart so that playback never meets them; their bytes are in payload and their
  // track numbers follow the song's.
  std::vector<MidiEvent> karaoke_events;
  TempoMap tempo;
  Meter meter;  // from the time signature events (4/4 without any)
  // What the reader mended to play the file (a missing end of track, a cut, junk ...), each
  // with its place; empty for a whole file.
  std::vector<std::string> repairs;
  uint32_t length_ticks = 0;  // the latest end of track (or event) tick
  // The length in sixteenth notes, length_ticks x 4 / division rounded up, so that the song
  // reaches its last event before it reports its end.
  int32_t length_sixteenths = 0;

  const uint8_t* Data(const MidiEvent& event) const { return payload.data() + event.data_offset; }
};
