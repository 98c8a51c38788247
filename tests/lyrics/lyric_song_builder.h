#pragma once
// Lyric MIDI files for the tests: syllables at ticks in one track, and the files around them.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "song/smf_builder.h"
#include "text/cp932.h"

struct Sung {
  uint32_t tick;
  std::string bytes;
};

// A track of meta events of `type` (0x05 lyric, 0x01 text) at absolute ticks, ending at `end`.
inline TrackBuilder TextTrack(uint8_t type, const std::vector<Sung>& sung, uint32_t end = 0) {
  TrackBuilder track;
  uint32_t now = 0;
  for (const Sung& s : sung) {
    track.Meta(s.tick - now, type, s.bytes);
    now = s.tick;
  }
  return track.End(end > now ? end - now : 0);
}

inline std::vector<Sung> Sjis(std::vector<Sung> sung) {
  for (Sung& s : sung) s.bytes = Utf8ToCp932(s.bytes);
  return sung;
}

// A format 1 file at 96 ticks per quarter note of the given tracks.
inline std::vector<uint8_t> Format1Song(const std::vector<TrackBuilder>& tracks) {
  const uint8_t count = static_cast<uint8_t>(tracks.size());
  std::vector<uint8_t> out = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, count, 0, 96};
  for (const TrackBuilder& track : tracks) PutChunk(out, "MTrk", track.Data());
  return out;
}

// A song: a tempo track, then the given tracks.
inline std::vector<uint8_t> LyricSong(std::vector<TrackBuilder> tracks) {
  tracks.insert(tracks.begin(), TrackBuilder().Tempo(0, 500000).End());
  return Format1Song(tracks);
}
