#include "song/karaoke_chunk.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

#include "song/midi_track_reader.h"

namespace {

constexpr size_t kChunkHeaderSize = 8;

uint32_t Read32(const uint8_t* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

}  // namespace

void ReadKaraokeChunk(std::span<const uint8_t> data, size_t file_offset, uint16_t tracks,
                      MidiSong* song) {
  const uint32_t number =
      song->karaoke_events.empty() ? tracks : song->karaoke_events.back().track + 1u;
  if (number > std::numeric_limits<uint16_t>::max()) return;
  std::vector<MidiEvent> events;
  // A chunk that breaks off keeps the events before the break; its problem is no repair of
  // the song, whose playback never reads the chunk.
  ReadTrack(data, file_offset, static_cast<uint16_t>(number), std::numeric_limits<int32_t>::max(),
            &events, &song->payload);
  for (const MidiEvent& event : events) {
    if (event.status == MidiEvent::kMeta) song->karaoke_events.push_back(event);
  }
}

void ReadKaraokeChunksAfter(std::span<const uint8_t> bytes, size_t offset, uint16_t tracks,
                            MidiSong* song) {
  while (offset <= bytes.size() && bytes.size() - offset >= kChunkHeaderSize) {
    const uint8_t* p = bytes.data() + offset;
    const size_t size = Read32(p + 4);
    const size_t left = bytes.size() - offset - kChunkHeaderSize;
    if (!std::all_of(p, p + 4, [](uint8_t c) { return c >= 0x20 && c < 0x7F; }) || size > left) {
      return;
    }
    if (std::memcmp(p, kKaraokeChunk, 4) == 0) {
      ReadKaraokeChunk(bytes.subspan(offset + kChunkHeaderSize, size), offset + kChunkHeaderSize,
                       tracks, song);
    }
    offset += kChunkHeaderSize + size;
  }
}
