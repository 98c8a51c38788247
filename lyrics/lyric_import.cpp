#include "lyrics/lyric_import.h"

#include "lyrics/song_lyrics.h"

void RemakeEvents(const MidiSong& song, const LyricImportSettings& settings,
                  const EventItem& layout, size_t room, LyricImport* import) {
  import->pages =
      PagesFromSyllables(import->lyrics.syllables, song.division, settings.lines_per_page);
  PageEvents made = EventsFromPages(import->pages, song.tempo, settings.lead, layout, room);
  import->events = std::move(made.events);
  import->notices = import->lyrics.notices;
  if (made.left_out > 0) {
    import->notices.push_back("イベント表に入りきらない " + std::to_string(made.left_out) +
                              " ページを取り込みませんでした");
  }
}

LyricImport ImportSongLyrics(const MidiSong& song, const LyricImportSettings& settings,
                             const EventItem& layout, size_t room) {
  LyricImport import;
  import.lyrics = ReadSongLyrics(song);
  RemakeEvents(song, settings, layout, room, &import);
  return import;
}
