#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "song/midi_song.h"

// A lyric (FF 05) or text (FF 01) meta event of a song, with its bytes as the file holds them
// (a view into the song's payload: valid while the song is).
struct MidiText {
  static constexpr uint8_t kText = 0x01;
  static constexpr uint8_t kLyric = 0x05;

  uint32_t tick = 0;
  uint16_t track = 0;  // the karaoke chunks' numbers follow the tracks'
  uint8_t type = kLyric;
  bool karaoke_chunk = false;  // from a karaoke chunk ("XFKM") rather than a track
  std::string_view bytes;
};

// The song's lyric and text events, the tracks' and the karaoke chunks', in time order (at one
// tick the tracks' first, then file order).
std::vector<MidiText> TextEventsOf(const MidiSong& song);
