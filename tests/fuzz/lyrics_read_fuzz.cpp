// Feeds arbitrary bytes to the lyric reader, as a song and as a lyric sheet: it must give pages
// or nothing, never crash, and the events it makes must keep the import's rules (in time
// order, never before 0, Marks of whole characters within eight bytes, no empty line).
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>

#include "lyrics/lyric_import.h"
#include "lyrics/lyric_sheet.h"
#include "make/lyric_layout.h"
#include "song/midi_file_reader.h"

namespace {

void CheckEvents(const std::vector<EventItem>& events) {
  int32_t previous = 0;
  for (const EventItem& event : events) {
    if (event.Count < previous) std::abort();
    previous = event.Count;
    if (event.Mark.size() > kPageMarkBytes) std::abort();
    size_t bytes = 0;
    for (const std::string& character : SplitCp932Characters(event.Mark)) bytes += character.size();
    if (bytes != event.Mark.size()) std::abort();
    for (const std::string& line : SplitLyricLines(event.Lyrics)) {
      if (line.empty()) std::abort();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  size_t replaced = 0;
  for (const LyricPage& page : PagesFromSheet(text, 2, &replaced)) {
    if (page.lines.empty()) std::abort();
  }
  MidiSong song;
  try {
    song = ParseMidi(std::span<const uint8_t>(data, size));
  } catch (const MidiFileError&) {
    return 0;
  }
  for (const MidiEvent& event : song.karaoke_events) {
    if (uint64_t(event.data_offset) + event.data_size > song.payload.size()) std::abort();
  }
  const LyricImport import = ImportSongLyrics(song, {}, DefaultLyricLayout());
  if (import.events.size() > EventTable::kCapacity) std::abort();
  CheckEvents(import.events);
  return 0;
}
