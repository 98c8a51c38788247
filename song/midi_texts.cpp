#include "song/midi_texts.h"

#include <algorithm>

namespace {

void Collect(const MidiSong& song, const std::vector<MidiEvent>& events, bool karaoke,
             std::vector<MidiText>* texts) {
  for (const MidiEvent& event : events) {
    if (event.status != MidiEvent::kMeta) continue;
    if (event.data1 != MidiText::kText && event.data1 != MidiText::kLyric) continue;
    const char* data = reinterpret_cast<const char*>(song.Data(event));
    texts->push_back(
        {event.tick, event.track, event.data1, karaoke, std::string_view(data, event.data_size)});
  }
}

}  // namespace

std::vector<MidiText> TextEventsOf(const MidiSong& song) {
  std::vector<MidiText> texts;
  texts.reserve(song.karaoke_events.size());
  Collect(song, song.events, false, &texts);
  const size_t from_tracks = texts.size();
  Collect(song, song.karaoke_events, true, &texts);
  // The tracks' events are in time order already; a karaoke chunk's are in its own order.
  std::stable_sort(texts.begin() + from_tracks, texts.end(),
                   [](const MidiText& a, const MidiText& b) { return a.tick < b.tick; });
  std::inplace_merge(texts.begin(), texts.begin() + from_tracks, texts.end(),
                     [](const MidiText& a, const MidiText& b) { return a.tick < b.tick; });
  return texts;
}
